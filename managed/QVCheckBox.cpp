#include "managed/QVCheckBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"

namespace Halvora {

QVCheckBox::QVCheckBox(const QString& EnabledBmpName, const QString& ClickedBmpName,
                       const QString& text, const QString& name, QWidget* parent, QRect captionRect)
    : QWidget(parent), m_enabled(EnabledBmpName), m_clicked(ClickedBmpName), m_text(text),
      m_captionRect(captionRect) {
    setObjectName(name);
    const QImage face = ArtImage(m_enabled);
    if (!face.isNull()) setFixedSize(face.size());
    if (m_captionRect.isEmpty()) m_captionRect = rect();
}

void QVCheckBox::SetChecked(bool checked) {
    if (checked == m_checked) return;
    m_checked = checked;
    update();
    emit Toggled(checked);
}

void QVCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled() &&
        rect().contains(event->position().toPoint()))
        SetChecked(!m_checked);
}

void QVCheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, ArtImage(m_checked ? m_clicked : m_enabled));
    QFont font(QString::fromLatin1(ArtLayout::kFontFamily));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(ArtLayout::kCaptionColor));
    p.drawText(m_captionRect, Qt::AlignCenter, m_text);
}

} // namespace Halvora
