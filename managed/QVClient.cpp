// QVClient's logons, connection watch, timers, event pump and control registry.
#include "managed/QVClient.h"

#include <QPainter>

#include "managed/Conversions.h"
#include "managed/LibraryCall.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/ReLogonAttempt.h"
#include "outside/qvclient/QVClientPlain.h"
#include "platform/WindowMessages.h"

namespace Halvora {

int QVClient::_reLogonTimeout = 10000;
int QVClient::_eventTimeout = 5000;

namespace {

// A BSTR for the length of one logon call.
struct LogonText {
    BSTR text;
    explicit LogonText(const QString& s) : text(ToBstr(s)) {}
    LogonText(const LogonText&) = delete;
    ~LogonText() { platform::SysFreeString(text); }
};

// Ports travel as unsigned 16-bit values.
int32_t PortNumber(int16_t port) {
    return static_cast<uint16_t>(port);
}

// The library gets no event handle.
constexpr int32_t kNoEventHandle = -1;

} // namespace

QVClient::QVClient(QWidget* parent) : QWidget(parent) {
    _logoBMP.load(QStringLiteral(":/Halvora/QVClientLG.bmp"));
    setFixedSize(_logoBMP.size());
    ResetLogonDefaults();
    connect(&_nTimer, &QTimer::timeout, this, &QVClient::OnReLogonTimer);
    connect(&_eventTimer, &QTimer::timeout, this, &QVClient::PollEvents);
    // The library posts from its own thread; the post becomes a call on this control's thread,
    // dropped by Qt if the control is gone by then.
    _window = platform::RegisterWindow(
        [this](platform::WindowHandle, uint32_t msg, intptr_t, intptr_t lParam) {
            if (msg != static_cast<uint32_t>(kEventMessage)) return;
            const auto param = static_cast<int32_t>(lParam);
            QMetaObject::invokeMethod(
                this, [this, param] { OnLibraryMessage(param); }, Qt::QueuedConnection);
        });
}

QVClient::~QVClient() {
    // First, so that the service's thread no longer reaches this control.
    if (_window != 0) platform::UnregisterWindow(_window);
    _window = 0;
    _clientID = -1;
    _nTimer.stop();
    _eventTimer.stop();
    // A re-logon still running ends its own logon; one that has returned may hold it.
    const std::shared_ptr<ReLogonAttempt> reLogon = _reLogon;
    const bool running = AbandonReLogon();
    if (!running && (_loggedOn || (reLogon && reLogon->GotLogon()))) ::ClientLogoff();
    for (const QPointer<QVPump>& pump : _QVPumpsList)
        if (pump) pump->ForgetClient(this);
    for (const QPointer<QVTank>& tank : _QVTanksList)
        if (tank) tank->ForgetClient(this);
}

void QVClient::SetTimeouts(int reLogonMs, int eventMs) {
    _reLogonTimeout = reLogonMs;
    _eventTimeout = eventMs;
}

void QVClient::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, _logoBMP);
}

void QVClient::ResetLogonDefaults() {
    _clientEventType = kDefaultEventType;
    _clientCategory = 0;
    _callsPort = kDefaultCallsPort;
    _eventsPort = kDefaultEventsPort;
    _callTimeout = kDefaultCallTimeout;
}

void QVClient::LoggedOnNow() {
    _loggedOn = true;
    _nTimer.stop();
    _eventTimer.start(_eventTimeout);
}

// ---- Logons ----

int32_t QVClient::ClientLogon(int32_t ClientID, int16_t ClientType) {
    const int32_t res =
        ::ClientLogon(ClientID, ClientType, kNoEventHandle, WindowHandle(), kEventMessage);
    if (res == 0) {
        _clientID = ClientID;
        _clientType = ClientType;
        ResetLogonDefaults();
        _serverName = QString(QLatin1String(""));
        _clientName = QString(QLatin1String(""));
        _hashKey = QString(QLatin1String(""));
        LoggedOnNow();
    }
    return CheckResult(res);
}

int32_t QVClient::ClientLogonEx(int32_t ClientID, int16_t ClientType, const QString& ServerName,
                                int16_t CallPortNo, int16_t EventsPortNo, int32_t CallTimeout) {
    LogonText server(ServerName);
    const int32_t res = ::ClientLogonEx(ClientID, ClientType, server.text, PortNumber(CallPortNo),
                                        PortNumber(EventsPortNo), CallTimeout, kNoEventHandle,
                                        WindowHandle(), kEventMessage);
    if (res == 0) {
        _clientID = ClientID;
        _clientType = ClientType;
        _serverName = ServerName;
        _callsPort = CallPortNo;
        _eventsPort = EventsPortNo;
        _callTimeout = CallTimeout;
        _clientName = QString(QLatin1String(""));
        _hashKey = QString(QLatin1String(""));
        _clientEventType = kDefaultEventType;
        _clientCategory = 0;
        LoggedOnNow();
    }
    return CheckResult(res);
}

int32_t QVClient::InternalClientLogon(int32_t ClientID, int16_t ClientType,
                                      const QString& ClientName, int16_t ClientCategory,
                                      const QString& HashKey, int32_t EventMask,
                                      const QString& ServerName, int16_t CallPortNo,
                                      int16_t EventsPortNo, int32_t CallTimeout) {
    LogonText name(ClientName), key(HashKey), server(ServerName);
    const int32_t res =
        ::InternalClientLogon(ClientID, ClientType, name.text, ClientCategory, key.text, EventMask,
                              server.text, PortNumber(CallPortNo), PortNumber(EventsPortNo),
                              CallTimeout, kNoEventHandle, WindowHandle(), kEventMessage);
    if (res == 0) {
        _clientID = ClientID;
        _clientType = ClientType;
        _clientName = ClientName;
        _clientCategory = ClientCategory;
        _hashKey = HashKey;
        _clientEventType = EventMask;
        _serverName = ServerName;
        _callsPort = CallPortNo;
        _eventsPort = EventsPortNo;
        _callTimeout = CallTimeout;
        LoggedOnNow();
    }
    return CheckResult(res);
}

int32_t QVClient::ClientLogoff() {
    _clientID = -1;
    _clientType = 0;
    _loggedOn = false;
    _nTimer.stop();
    _eventTimer.stop();
    // The library holds no logon while a re-logon's call runs (the attempt ends one it gets),
    // and its logoff would wait for that call: the answer is the library's "not logged on".
    if (AbandonReLogon()) return QV_NOT_LOGGED_ON;
    return CheckResult(::ClientLogoff());
}

int32_t QVClient::SetClientType(int32_t ClientKey) {
    if (ClientKey != 0 && (static_cast<uint32_t>(ClientKey) & 0xF0000000u) == 0)
        _clientEventType = ClientKey;
    return CheckResult(::SetClientType(ClientKey));
}

int32_t QVClient::GetNETVersion(QString& pVersionStr) {
    pVersionStr = QString::fromLatin1("Halvora .NET package Version(2,5,8,0:B19) Built(" __DATE__
                                      " at " __TIME__ ")");
    return 0;
}

int32_t QVClient::GetDLLVersion(QString& pVersionStr) {
    return Forward(::DllVersion, pVersionStr);
}

int32_t QVClient::GetServerVersion(QString& pVersionStr) {
    return Forward(::ServerVersion, pVersionStr);
}

QString QVClient::ResultString(int32_t Result) {
    BSTR text = ::ResultString(Result);
    const QString s = FromBstr(text);
    platform::SysFreeString(text);
    return s;
}

// ---- Connection watch and timers ----

int32_t QVClient::CheckResult(int32_t res) {
    if (res != -23 && res != -14 && res != 8) return res;
    // Already reconnecting: the library holds no logon, and restarting the timer on every
    // failed call would put the re-logon off for as long as the host keeps calling. (A host
    // that logged off has nothing to reconnect; its results are watched as they always were.)
    if (!_loggedOn && _clientID != -1 && ReLogonPending()) return res;
    // Copies: a handler of a control's status events may register or remove controls.
    const QList<QPointer<QVPump>> pumps = _QVPumpsList;
    const QList<QPointer<QVTank>> tanks = _QVTanksList;
    for (const QPointer<QVPump>& pump : pumps)
        if (pump) pump->ShowConnectionLost();
    for (const QPointer<QVTank>& tank : tanks)
        if (tank) tank->ShowConnectionLost();
    if (res == -14) emit ServerConnectionBroken();
    ::ClientLogoff();
    _loggedOn = false;
    _eventTimer.stop();
    _nTimer.start(_reLogonTimeout);
    return res;
}

void QVClient::OnReLogonTimer() {
    _nTimer.stop();
    if (_clientID == -1 || _reLogon) return;
    // Everything the logon needs is copied: the thread never touches the control.
    const int32_t id = _clientID;
    const int16_t type = _clientType;
    const int16_t category = _clientCategory;
    const QString name = _clientName, key = _hashKey, server = _serverName;
    const int32_t callsPort = PortNumber(_callsPort), eventsPort = PortNumber(_eventsPort);
    const int32_t timeout = _callTimeout, eventType = _clientEventType;
    const intptr_t window = WindowHandle();
    ReLogonAttempt::Logon logon;
    if (category > 0) {
        logon = [=] {
            LogonText n(name), k(key), s(server);
            return ::InternalClientLogon(id, type, n.text, category, k.text, eventType, s.text,
                                         callsPort, eventsPort, timeout, kNoEventHandle, window,
                                         kEventMessage);
        };
    } else if (!server.isEmpty()) {
        logon = [=] {
            LogonText s(server);
            return ::ClientLogonEx(id, type, s.text, callsPort, eventsPort, timeout, kNoEventHandle,
                                   window, kEventMessage);
        };
    } else {
        logon = [=] { return ::ClientLogon(id, type, kNoEventHandle, window, kEventMessage); };
    }
    _reLogon = ReLogonAttempt::Start(this, std::move(logon),
                                     [this](int32_t res) { OnReLogonResult(res); });
    if (!_reLogon) _nTimer.start(_reLogonTimeout); // no thread now: try again later
}

void QVClient::OnReLogonResult(int32_t res) {
    _reLogon.reset();
    if (res != 0) {
        _nTimer.start(_reLogonTimeout);
        return;
    }
    LoggedOnNow();
    if (_clientEventType != kDefaultEventType) ::SetClientType(_clientEventType);
    // The server sends only changes: without a reload a pump idle since before the loss would
    // stay blank.
    ReloadControls();
    if (_loggedOn) emit ServerReconnected();
}

void QVClient::ReloadControls() {
    const QList<QPointer<QVPump>> pumps = _QVPumpsList;
    const QList<QPointer<QVTank>> tanks = _QVTanksList;
    for (const QPointer<QVPump>& pump : pumps) {
        if (!_loggedOn) return; // lost again: the controls are blank and a re-logon pending
        if (pump) pump->Reload();
    }
    for (const QPointer<QVTank>& tank : tanks) {
        if (!_loggedOn) return;
        if (tank) tank->Reload();
    }
}

bool QVClient::AbandonReLogon() {
    if (!_reLogon) return false;
    const bool running = _reLogon->Abandon();
    _reLogon.reset();
    return running;
}

// ---- Display controls ----

bool QVClient::AddQVPump(QVPump* pump) {
    if (pump == nullptr || _QVPumpsList.contains(pump)) return false;
    _QVPumpsList.append(pump);
    return true;
}

bool QVClient::AddQVTank(QVTank* tank) {
    if (tank == nullptr || _QVTanksList.contains(tank)) return false;
    _QVTanksList.append(tank);
    return true;
}

bool QVClient::RemoveQVPump(QVPump* pump) {
    return _QVPumpsList.removeAll(pump) > 0;
}

bool QVClient::RemoveQVTank(QVTank* tank) {
    return _QVTanksList.removeAll(tank) > 0;
}

QVPump* QVClient::RegisteredPump(int32_t pumpID) const {
    for (const QPointer<QVPump>& pump : _QVPumpsList)
        if (pump && pump->ID() == pumpID) return pump;
    return nullptr;
}

QVTank* QVClient::RegisteredTank(int32_t tankID) const {
    for (const QPointer<QVTank>& tank : _QVTanksList)
        if (tank && tank->ID() == tankID) return tank;
    return nullptr;
}

void QVClient::SetCurrentPump(int32_t pumpID) {
    if (pumpID == _currentPumpID) return;
    if (QVPump* old = RegisteredPump(_currentPumpID)) old->SetIsCurrentPump(false);
    if (QVPump* now = RegisteredPump(pumpID)) now->SetIsCurrentPump(true);
    _currentPumpID = pumpID;
    emit CurrentPumpEvent(pumpID);
}

} // namespace Halvora
