#include "managed/QVPresetPopup.h"

#include <QKeyEvent>
#include <QPainter>

#include "managed/DisplayRules.h"
#include "managed/QVButton.h"
#include "managed/QVCheckBox.h"
#include "managed/QVPump.h"
#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"
#include "managed/art/StringTable.h"

namespace Halvora {

using namespace ArtLayout;

namespace {
// The keypad, row by row.
const char* const kKeys[4][3] = {
    {"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}, {".", "0", "CLR"}};
} // namespace

QVPresetPopup::QVPresetPopup(QVPump* pump) : QDialog(pump), m_pump(pump) {
    setFixedSize(kPresetPopupSize);
    setWindowTitle(pump->PumpName());
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column) {
            const QString caption = QString::fromLatin1(kKeys[row][column]);
            auto* key = new QVButton(QString(), QStringLiteral("Button.bmp"),
                                     QStringLiteral("ButtonPressed.bmp"), DialogResult::None,
                                     caption, 0, this);
            key->setObjectName(caption);
            key->move(KeyOrigin(column, row));
            connect(key, &QVButton::Clicked, this, [this, caption] { PressKey(caption); });
        }
    const QLocale loc = locale();
    const auto typeBox = [&](int id, const char* name, const QRect& where) {
        auto* box = new QVCheckBox(QStringLiteral("ButtonType.bmp"),
                                   QStringLiteral("ButtonTypePressed.bmp"), LoadString(id, loc),
                                   QString::fromLatin1(name), this, kTypeButtonCaptionRect);
        box->move(where.topLeft());
        return box;
    };
    m_valueBox = typeBox(4, "Value", kPresetValueRect);
    m_volumeBox = typeBox(3, "Volume", kPresetVolumeRect);
    // The two boxes act as one choice: whichever is clicked becomes the choice.
    connect(m_valueBox, &QVCheckBox::Toggled, this, [this] { ChooseValue(true); });
    connect(m_volumeBox, &QVCheckBox::Toggled, this, [this] { ChooseValue(false); });
    for (int i = 0; i < 4; ++i) {
        const QString name = QStringLiteral("H%1").arg(i + 1);
        m_hoses[i] = new QVCheckBox(QStringLiteral("ButtonHose.bmp"),
                                    QStringLiteral("ButtonHosePressed.bmp"), name, name, this,
                                    kHoseButtonCaptionRect);
        m_hoses[i]->move(kPresetHoseRects[i].topLeft());
    }
    m_preset =
        new QVButton(QStringLiteral("PresetDisabled.bmp"), QStringLiteral("PresetEnabled.bmp"),
                     QStringLiteral("PresetPressed.bmp"), DialogResult::No,
                     QStringLiteral("Preset"), Qt::Key_P, this);
    m_preset->move(kPresetPresetRect.topLeft());
    m_auth = new QVButton(QStringLiteral("AuthDisabled.bmp"), QStringLiteral("AuthEnabled.bmp"),
                          QStringLiteral("AuthPressed.bmp"), DialogResult::Yes,
                          QStringLiteral("Auth"), Qt::Key_A, this);
    m_auth->move(kPresetAuthRect.topLeft());
    Refresh();
}

void QVPresetPopup::Refresh() {
    m_entry.Clear();
    for (QVCheckBox* hose : m_hoses)
        hose->SetChecked(false);
    ChooseValue(true);
}

void QVPresetPopup::ChooseValue(bool value) {
    m_valueChosen = value;
    // Setting the boxes re-enters through Toggled only when a box changes; the choice is set.
    const QSignalBlocker a(m_valueBox), b(m_volumeBox);
    m_valueBox->SetChecked(value);
    m_volumeBox->SetChecked(!value);
    const int format = m_pump ? (value ? m_pump->ValueFormat() : m_pump->VolumeFormat()) : 0;
    m_entry.SetDecimals(DecimalsOfFormat(format));
    update(kPresetEntryRect);
}

void QVPresetPopup::PressKey(const QString& key) {
    if (key == QLatin1String("CLR"))
        m_entry.Clear();
    else if (key == QLatin1String(".") || key == QLatin1String(","))
        m_entry.AddPoint();
    else if (key.size() == 1)
        m_entry.AddDigit(key.at(0).toLatin1());
    update(kPresetEntryRect);
}

void QVPresetPopup::TickHose(int number, bool ticked) {
    if (number >= 1 && number <= 4) m_hoses[number - 1]->SetChecked(ticked);
}

int16_t QVPresetPopup::HoseMask() const {
    int16_t mask = 0;
    for (int i = 0; i < 4; ++i)
        if (m_hoses[i]->Checked()) mask = static_cast<int16_t>(mask | (1 << i));
    return mask;
}

QVPresetPopup::Preset QVPresetPopup::ChosenPreset() const {
    const int16_t mask = HoseMask();
    if (mask == 0 || !m_entry.IsSet()) return {kValueLimit, 0.0, kAllHoses, 1};
    return {m_valueChosen ? kValueLimit : kVolumeLimit, m_entry.Value(), mask, 1};
}

QVButton* QVPresetPopup::Key(const QString& caption) const {
    return findChild<QVButton*>(caption);
}

void QVPresetPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, ArtImage(QStringLiteral("PresetPopup.bmp")));
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(kDisplayTextColor));
    p.drawText(kPresetEntryRect.adjusted(6, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
               m_entry.Text(m_pump ? m_pump->locale() : locale()));
}

void QVPresetPopup::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        PressKey(QString(QChar(u'0' + (key - Qt::Key_0))));
    else if (key == Qt::Key_Period || key == Qt::Key_Comma)
        PressKey(QStringLiteral("."));
    else if (key == Qt::Key_Backspace) {
        m_entry.Backspace();
        update(kPresetEntryRect);
    } else if (key == Qt::Key_Delete)
        PressKey(QStringLiteral("CLR"));
    else if (!QVButton::PressHotKey(this, key))
        QDialog::keyPressEvent(event);
}

} // namespace Halvora
