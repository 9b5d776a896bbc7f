// Halvora::QVCheckBox: a check box drawn with two bitmaps (unticked, ticked) and a caption;
// a click flips it.
#pragma once
#include <QRect>
#include <QString>
#include <QWidget>

namespace Halvora {

class QVCheckBox : public QWidget {
    Q_OBJECT

  public:
    // `name` becomes the object name. `captionRect` is where the caption goes on the bitmap
    // (the whole box when empty).
    QVCheckBox(const QString& EnabledBmpName, const QString& ClickedBmpName, const QString& text,
               const QString& name, QWidget* parent = nullptr, QRect captionRect = QRect());

    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    QString Text() const { return m_text; }

  signals:
    void Toggled(bool Checked);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString m_enabled, m_clicked; // bitmap names: unticked, ticked
    QString m_text;
    QRect m_captionRect;
    bool m_checked = false;
};

} // namespace Halvora
