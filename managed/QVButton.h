// Halvora::QVButton: a dialog button drawn with three bitmaps (disabled, enabled, pressed while
// the mouse is down) and a caption. A click, or its hot key pressed in the dialog, closes the
// dialog with the button's result (a button with result None, such as a keypad key, only
// emits Clicked).
#pragma once
#include <QString>
#include <QWidget>

namespace Halvora {

// The results a dialog closes with (the values of the host platform's dialog results).
namespace DialogResult {
enum : int { None = 0, OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
}

class QVButton : public QWidget {
    Q_OBJECT

  public:
    // Bitmaps by their embedded names; an empty disabled name draws the enabled one dimmed.
    // HotKey is a Qt key code (0: none).
    QVButton(const QString& DisabledBmpName, const QString& EnabledBmpName,
             const QString& ClickedBmpName, int Result, const QString& text, int HotKey,
             QWidget* parent = nullptr);

    int Result() const { return m_result; }
    int HotKey() const { return m_hotKey; }
    QString Text() const { return m_text; }
    bool IsPressed() const { return m_pressed; }

    // Clicks the button as the mouse would: emits Clicked and closes the dialog that holds it
    // with Result(). Nothing while disabled.
    void PerformClick();
    // Clicks the enabled button among `dialog`'s children whose hot key is `key`; false when
    // there is none.
    static bool PressHotKey(QWidget* dialog, int key);

  signals:
    void Clicked(int Result);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString m_disabled, m_enabled, m_clicked; // bitmap names
    int m_result;
    QString m_text;
    int m_hotKey;
    bool m_pressed = false; // mouse down on the button
};

} // namespace Halvora
