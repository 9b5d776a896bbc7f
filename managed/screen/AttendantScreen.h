// The attendant screen: a window with a QVClient logged on to a forecourt server, one QVPump per
// pump of the site and one QVTank per tank, each bound to the client so that its status and
// deliveries follow the server.
#pragma once
#include <QList>
#include <QString>
#include <QWidget>

#include "managed/QVClient.h"

namespace Halvora {

class QVPump;
class QVTank;

class AttendantScreen : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kPumpsPerRow = 8;

    explicit AttendantScreen(QWidget* parent = nullptr);

    // Logs on to `server` (empty: the library's local server) and lays out the site's pumps and
    // tanks. The library's result: 0, or the failed logon's or listing call's result.
    int32_t Open(const QString& server);

    QVClient& Client() { return m_client; }
    const QList<QVPump*>& Pumps() const { return m_pumps; }
    const QList<QVTank*>& Tanks() const { return m_tanks; }

  private:
    QVClient m_client;
    QList<QVPump*> m_pumps;
    QList<QVTank*> m_tanks;
};

} // namespace Halvora
