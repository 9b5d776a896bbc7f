#include "managed/QVButton.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPainter>

#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"

namespace Halvora {

using namespace ArtLayout;

QVButton::QVButton(const QString& DisabledBmpName, const QString& EnabledBmpName,
                   const QString& ClickedBmpName, int Result, const QString& text, int HotKey,
                   QWidget* parent)
    : QWidget(parent), m_disabled(DisabledBmpName), m_enabled(EnabledBmpName),
      m_clicked(ClickedBmpName), m_result(Result), m_text(text), m_hotKey(HotKey) {
    const QImage face = ArtImage(m_enabled);
    setFixedSize(face.isNull() ? kDialogButtonSize : face.size());
}

void QVButton::PerformClick() {
    if (!isEnabled()) return;
    emit Clicked(m_result);
    if (m_result == DialogResult::None) return;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->done(m_result);
            return;
        }
}

bool QVButton::PressHotKey(QWidget* dialog, int key) {
    if (key == 0) return false;
    for (QVButton* b : dialog->findChildren<QVButton*>())
        if (b->m_hotKey == key && b->isEnabled()) {
            b->PerformClick();
            return true;
        }
    return false;
}

void QVButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_pressed = true;
    update();
}

void QVButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) return;
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint())) PerformClick();
}

void QVButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool pressed = m_pressed && isEnabled();
    QString face = pressed ? m_clicked : m_enabled;
    if (!isEnabled() && !m_disabled.isEmpty()) face = m_disabled;
    if (!isEnabled() && m_disabled.isEmpty()) p.setOpacity(0.5);
    p.drawImage(0, 0, ArtImage(face));
    if (m_text.isEmpty()) return;
    // Icon buttons carry a small caption under the icon; keys a large one in the middle.
    const bool iconButton = size() == kDialogButtonSize;
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(iconButton ? 11 : 16);
    font.setBold(!iconButton);
    p.setFont(font);
    p.setPen(isEnabled() ? QColor(kCaptionColor) : QColor(Qt::gray));
    QRect caption = iconButton ? kDialogButtonCaptionRect : rect();
    if (pressed) caption.translate(kPressedShift, kPressedShift);
    p.drawText(caption, Qt::AlignCenter, m_text);
}

} // namespace Halvora
