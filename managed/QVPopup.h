// Halvora::QVPopup: the dialog a pump click opens. It lists the pump's deliveries, shows the
// running sale's volume and value and offers Cancel, Auth, Stack and Stop; it closes with
// Cancel, Yes (Auth), Retry (Stack), No (Stop), or OK when a delivery is chosen in the list.
// The pump acts on the result (QVPump::ActOnPopupResult).
#pragma once
#include <QDialog>
#include <QPointer>

#include "managed/QVDelivery.h"

namespace Halvora {

class QVButton;
class QVDelListBox;
class QVPump;

class QVPopup : public QDialog {
    Q_OBJECT

  public:
    explicit QVPopup(QVPump* pump);

    // Copies the pump's deliveries and sale again and enables the buttons that fit its state;
    // forgets the chosen delivery.
    void Refresh();
    // The delivery chosen in the list (ID -1 when none).
    QVDelivery ChosenDelivery() const { return m_chosen; }
    // The volume and value caption.
    QString CaptionText() const;

    QVDelListBox* List() const { return m_list; }
    QVButton* CancelButton() const { return m_cancel; }
    QVButton* AuthButton() const { return m_auth; }
    QVButton* StackButton() const { return m_stack; }
    QVButton* StopButton() const { return m_stop; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPointer<QVPump> m_pump;
    QVDelListBox* m_list;
    QVButton* m_cancel;
    QVButton* m_auth;
    QVButton* m_stack;
    QVButton* m_stop;
    QVDelivery m_chosen;
};

} // namespace Halvora
