#include "managed/QVDelListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "managed/DisplayRules.h"
#include "managed/QVPump.h"
#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"

namespace Halvora {

using namespace ArtLayout;

QVDelListBox::QVDelListBox(QVPump* pump, QWidget* parent) : QWidget(parent), m_pump(pump) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Refresh();
}

void QVDelListBox::Refresh() {
    m_items = m_pump ? m_pump->Deliveries() : QList<QVDelivery>();
    m_selected = -1;
    update();
}

void QVDelListBox::Select(int index) {
    if (index < 0 || index >= m_items.size()) {
        m_selected = -1;
        update();
        return;
    }
    m_selected = index;
    update();
    emit DeliverySelected(m_items[index]);
}

void QVDelListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = event->position().toPoint().y() / kDelRowHeight;
    if (row < m_items.size()) Select(row);
}

void QVDelListBox::keyPressEvent(QKeyEvent* event) {
    if (m_items.isEmpty()) return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up:
        Select(m_selected <= 0 ? 0 : m_selected - 1);
        return;
    case Qt::Key_Down:
        Select(qMin(m_selected + 1, int(m_items.size()) - 1));
        return;
    case Qt::Key_Home:
        Select(0);
        return;
    case Qt::Key_End:
        Select(m_items.size() - 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Select(m_selected < 0 ? 0 : m_selected);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void QVDelListBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(kListColor));
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(12);
    p.setFont(font);
    const QLocale loc = locale();
    const int volumeFormat = m_pump ? m_pump->VolumeFormat() : 0;
    const int valueFormat = m_pump ? m_pump->ValueFormat() : 0;
    for (int i = 0; i < m_items.size(); ++i) {
        const QVDelivery& d = m_items[i];
        const QRect row(0, i * kDelRowHeight, width(), kDelRowHeight);
        if (i == m_selected) p.fillRect(row, QColor(0xFFCCE0FF));
        int x = 2;
        const int iconTop = row.top() + (kDelRowHeight - kDelIconSize.height()) / 2;
        for (const QString& name : DeliveryPictures(d)) {
            p.drawImage(x, iconTop, ArtImage(name));
            x += kDelIconSize.width() + 2;
        }
        const QRect text(2 + 2 * (kDelIconSize.width() + 2), row.top(),
                         width() - 4 - 2 * (kDelIconSize.width() + 2), kDelRowHeight);
        p.setPen(QColor(kCaptionColor));
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1  %2")
                       .arg(d.HoseNumber)
                       .arg(d.ShortGradeName.isEmpty() ? d.GradeName : d.ShortGradeName));
        p.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                   SaleText(d.Volume, volumeFormat, loc, false) + QStringLiteral("   ") +
                       SaleText(d.Value, valueFormat, loc, true));
    }
}

} // namespace Halvora
