#include "managed/QVPopup.h"

#include <QKeyEvent>
#include <QPainter>

#include "managed/DisplayRules.h"
#include "managed/QVButton.h"
#include "managed/QVDelListBox.h"
#include "managed/QVPump.h"
#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"
#include "managed/art/StringTable.h"

namespace Halvora {

using namespace ArtLayout;

QVPopup::QVPopup(QVPump* pump) : QDialog(pump), m_pump(pump) {
    setFixedSize(kPopupSize);
    setWindowTitle(pump->PumpName());
    m_list = new QVDelListBox(pump, this);
    m_list->setGeometry(kPopupListRect);
    const auto button = [this](const char* stem, bool hasDisabled, int result, const char* text,
                               int key, const QRect& where) {
        const QString s = QString::fromLatin1(stem);
        auto* b = new QVButton(hasDisabled ? s + QStringLiteral("Disabled.bmp") : QString(),
                               s + QStringLiteral("Enabled.bmp"), s + QStringLiteral("Pressed.bmp"),
                               result, QString::fromLatin1(text), key, this);
        b->move(where.topLeft());
        return b;
    };
    m_cancel =
        button("Cancel", false, DialogResult::Cancel, "Cancel", Qt::Key_Escape, kPopupCancelRect);
    m_auth = button("Auth", true, DialogResult::Yes, "Auth", Qt::Key_A, kPopupAuthRect);
    m_stack = button("Stack", true, DialogResult::Retry, "Stack", Qt::Key_S, kPopupStackRect);
    m_stop = button("Stop", true, DialogResult::No, "Stop", Qt::Key_X, kPopupStopRect);
    connect(m_list, &QVDelListBox::DeliverySelected, this, [this](const QVDelivery& d) {
        m_chosen = d;
        done(DialogResult::OK);
    });
    Refresh();
}

void QVPopup::Refresh() {
    m_chosen = QVDelivery();
    m_list->Refresh();
    const int16_t state = m_pump ? m_pump->PumpState() : 0;
    m_auth->setEnabled(state == 3 || state == 5 || state == 6 || state == 9);
    m_stack->setEnabled(state != 0 && m_pump && !m_pump->Deliveries().isEmpty());
    m_stop->setEnabled(state == 5 || state == 7 || state == 9 || state == 10 || state == 12);
    update();
}

QString QVPopup::CaptionText() const {
    if (!m_pump) return QString();
    const QLocale loc = locale();
    return LoadString(3, loc) + QStringLiteral(" ") +
           SaleText(m_pump->CurVolume(), m_pump->VolumeFormat(), loc, false) +
           QStringLiteral("    ") + LoadString(4, loc) + QStringLiteral(" ") +
           SaleText(m_pump->CurValue(), m_pump->ValueFormat(), loc, true);
}

void QVPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, ArtImage(QStringLiteral("Popup.bmp")));
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(kCaptionColor));
    p.drawText(kPopupCaptionRect, Qt::AlignCenter, CaptionText());
}

void QVPopup::keyPressEvent(QKeyEvent* event) {
    if (!QVButton::PressHotKey(this, event->key())) QDialog::keyPressEvent(event);
}

} // namespace Halvora
