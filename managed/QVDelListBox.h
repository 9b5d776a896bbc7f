// Halvora::QVDelListBox: an owner-drawn list of a pump's deliveries, each row with its pictures
// (locked, timed out or current; refund) and its hose, grade, volume and value. Choosing a row
// with the mouse or the keyboard raises DeliverySelected.
#pragma once
#include <QList>
#include <QPointer>
#include <QWidget>

#include "managed/QVDelivery.h"

namespace Halvora {

class QVPump;

class QVDelListBox : public QWidget {
    Q_OBJECT

  public:
    explicit QVDelListBox(QVPump* pump, QWidget* parent = nullptr);

    // Copies the pump's list again (the selection is cleared).
    void Refresh();
    const QList<QVDelivery>& Items() const { return m_items; }
    // The selected row, -1 for none.
    int SelectedIndex() const { return m_selected; }
    // Selects row `index` and raises DeliverySelected for it; out of range clears the selection.
    void Select(int index);

  signals:
    void DeliverySelected(const Halvora::QVDelivery& Delivery);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPointer<QVPump> m_pump;
    QList<QVDelivery> m_items;
    int m_selected = -1;
};

} // namespace Halvora
