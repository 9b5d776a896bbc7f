// Halvora::QVPresetPopup: the dialog for presetting a pump. A keypad ("0" to "9", ".", "CLR";
// the keyboard's digits, "." and ",", backspace and delete too), the choice of a value or a
// volume limit, the hose boxes "H1" to "H4", and Preset (result No) and Auth (result Yes). The
// pump acts on the result (QVPump::ActOnPresetResult).
#pragma once
#include <QDialog>
#include <QPointer>
#include <cstdint>

#include "managed/PresetEntry.h"

namespace Halvora {

class QVButton;
class QVCheckBox;
class QVPump;

class QVPresetPopup : public QDialog {
    Q_OBJECT

  public:
    // What Preset sends: limit type (2 value, 3 volume), limit, hose mask, price level.
    struct Preset {
        int16_t type;
        double limit;
        int16_t hoses;
        int16_t priceLevel;
    };
    static constexpr int16_t kValueLimit = 2;
    static constexpr int16_t kVolumeLimit = 3;
    static constexpr int16_t kAllHoses = 255;

    explicit QVPresetPopup(QVPump* pump);

    // Clears the limit and the hose boxes and chooses a value limit.
    void Refresh();

    // A keypad key as its caption: "0".."9", ".", "," or "CLR".
    void PressKey(const QString& key);
    // Value (true) or volume limit: the decimals follow the pump's value or volume format.
    void ChooseValue(bool value);
    bool ValueChosen() const { return m_valueChosen; }
    // Ticks or unticks hose box `number` (1 to 4).
    void TickHose(int number, bool ticked);
    // Bit 1 for H1, 2 for H2, 4 for H3, 8 for H4.
    int16_t HoseMask() const;
    const PresetEntry& Entry() const { return m_entry; }

    // The preset to send: without a ticked hose or a limit, type 2, limit 0.0, all hoses (255);
    // otherwise type 2 or 3 by the choice, the limit and the mask. Price level 1 either way.
    Preset ChosenPreset() const;

    QVButton* PresetButton() const { return m_preset; }
    QVButton* AuthButton() const { return m_auth; }
    QVButton* Key(const QString& caption) const;
    QVCheckBox* HoseBox(int number) const { return m_hoses[number - 1]; }
    QVCheckBox* ValueBox() const { return m_valueBox; }
    QVCheckBox* VolumeBox() const { return m_volumeBox; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPointer<QVPump> m_pump;
    PresetEntry m_entry;
    bool m_valueChosen = true;
    QVCheckBox* m_valueBox;
    QVCheckBox* m_volumeBox;
    QVCheckBox* m_hoses[4];
    QVButton* m_preset;
    QVButton* m_auth;
};

} // namespace Halvora
