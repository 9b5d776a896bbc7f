#include "managed/QVTank.h"

#include <QPainter>
#include <algorithm>

#include "managed/DisplayRules.h"
#include "managed/QVClient.h"
#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"
#include "managed/art/StringTable.h"

namespace Halvora {

using namespace ArtLayout;

QVTank::QVTank(QWidget* parent) : QWidget(parent) {
    setFixedSize(kTankSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QVTank::~QVTank() {
    if (m_client) m_client->RemoveQVTank(this);
}

Halvora::QVClient* QVTank::Client() const {
    return m_client;
}

void QVTank::SetQVClient(Halvora::QVClient* client) {
    if (m_client && m_client != client) m_client->RemoveQVTank(this);
    m_client = client;
    Load();
}

void QVTank::SetID(int32_t id) {
    if (id == m_id) return;
    if (id == -1 && m_client) m_client->RemoveQVTank(this);
    m_id = id;
    Load();
}

void QVTank::ForgetClient(Halvora::QVClient* client) {
    if (m_client == client) m_client = nullptr;
}

void QVTank::ResetReadings() {
    m_gaugeVolume = m_gaugeTCVolume = m_gaugeUllage = m_gaugeTemperature = 0;
    m_gaugeLevel = m_gaugeWaterVolume = m_gaugeWaterLevel = 0;
    m_alarmsMask = 0;
    m_responding = false;
}

void QVTank::ShowConnectionLost() {
    StatusEventSink(0, 0, 0, 0, 0, 0, 0, m_number, m_name, m_gradeID, m_gradeName, m_type,
                    m_capacity, m_diameter, m_gaugeID, m_probeNo, kNoServerState, 0);
}

void QVTank::Reload() {
    if (m_client && m_id != -1) Load();
}

void QVTank::Load() {
    ResetReadings();
    m_state = 0;
    m_number = 0;
    m_name.clear();
    m_gradeID = -1;
    m_gradeName.clear();
    if (m_client && m_id != -1) {
        m_client->AddQVTank(this);
        double volume = 0, tcVolume = 0, ullage = 0, temperature = 0, level = 0;
        double waterVolume = 0, waterLevel = 0, capacity = 0, diameter = 0;
        int32_t number = 0, gradeID = -1, gaugeID = -1, alarms = 0;
        int16_t type = 0, probe = 0, state = 0;
        QString name, gradeName;
        // The newer summary carries the gauge's state too, so a healthy tank does not show an
        // error picture until its first status; a server without it gets the older call (not
        // after a lost connection, which the client has already dealt with).
        int32_t res = m_client->GetTankSummaryEx2(
            m_id, volume, tcVolume, ullage, temperature, level, waterVolume, waterLevel, number,
            name, gradeID, gradeName, type, capacity, diameter, gaugeID, probe, state, alarms);
        if (res != 0 && m_client->LoggedOn())
            res = m_client->GetTankSummaryEx(m_id, volume, tcVolume, ullage, temperature, level,
                                             waterVolume, waterLevel, number, name, gradeID,
                                             gradeName, type, capacity, diameter, gaugeID, probe);
        // What was read is the tank's status, shown and told like any other.
        if (res == 0)
            StatusEventSink(volume, tcVolume, ullage, temperature, level, waterVolume, waterLevel,
                            number, name, gradeID, gradeName, type, capacity, diameter, gaugeID,
                            probe, state, alarms);
    }
    update();
}

void QVTank::StatusEventSink(double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                             double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                             double GaugeWaterLevel, int32_t TankNumber, const QString& TankName,
                             int32_t GradeID, const QString& GradeName, int16_t Type,
                             double Capacity, double Diameter, int32_t GaugeID, int16_t ProbeNo,
                             int16_t State, int32_t AlarmsMask) {
    m_gaugeVolume = GaugeVolume;
    m_gaugeTCVolume = GaugeTCVolume;
    m_gaugeUllage = GaugeUllage;
    m_gaugeTemperature = GaugeTemperature;
    m_gaugeLevel = GaugeLevel;
    m_gaugeWaterVolume = GaugeWaterVolume;
    m_gaugeWaterLevel = GaugeWaterLevel;
    m_number = TankNumber;
    m_name = TankName;
    m_gradeID = GradeID;
    m_gradeName = GradeName;
    m_type = Type;
    m_capacity = Capacity;
    m_diameter = Diameter;
    m_gaugeID = GaugeID;
    m_probeNo = ProbeNo;
    m_state = State;
    m_alarmsMask = AlarmsMask;
    m_responding = State != 0 && State != kNoServerState;
    update();

    if (State >= 0)
        emit StatusEventEx2(this, m_id, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                            GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, TankNumber, TankName,
                            GradeID, GradeName, Type, Capacity, Diameter, GaugeID, ProbeNo, State,
                            AlarmsMask);
    if (TankNumber >= 0)
        emit StatusEventEx(this, m_id, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                           GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, TankNumber, TankName,
                           GradeID, GradeName, Type, Capacity, Diameter, GaugeID, ProbeNo);
    emit StatusEvent(this, m_id, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                     GaugeLevel, GaugeWaterVolume, GaugeWaterLevel);
}

namespace {

// The share of the vessel's height that `volume` of `capacity` fills, 0 to 1.
double Fill(double volume, double capacity) {
    if (capacity <= 0) return 0;
    return std::clamp(volume / capacity, 0.0, 1.0);
}

// Draws text left-aligned in the box at the largest of the usual sizes at which it fits whole,
// cut short only when even the smallest does not.
void DrawFitted(QPainter& p, QFont font, const QRect& box, const QString& text) {
    QString shown;
    for (int size : {11, 10, 9}) {
        font.setPixelSize(size);
        p.setFont(font);
        shown = p.fontMetrics().elidedText(text, Qt::ElideRight, box.width());
        if (shown == text) break;
    }
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

} // namespace

void QVTank::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, ArtImage(QStringLiteral("Tank.bmp")));

    // Product from the bottom, water under it.
    const QRect vessel = kTankLevelRect;
    const int product = qRound(vessel.height() * Fill(m_gaugeVolume, m_capacity));
    const int water = qRound(vessel.height() * Fill(m_gaugeWaterVolume, m_capacity));
    p.fillRect(QRect(vessel.left(), vessel.bottom() + 1 - product, vessel.width(), product),
               QColor(0xFFE8B33A));
    p.fillRect(QRect(vessel.left(), vessel.bottom() + 1 - water, vessel.width(), water),
               QColor(0xFF3A7BE8));

    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(kCaptionColor));
    p.drawText(kTankNumberRect, Qt::AlignCenter, QString::number(m_number));
    p.setPen(QColor(kHeaderTextColor));
    DrawFitted(p, font, kTankNameRect, m_name);
    // The grade on a line of its own, so that a long tank name cannot push it out.
    font.setBold(false);
    p.setPen(QColor(kCaptionColor));
    DrawFitted(p, font, kTankGradeRect, m_gradeName);

    const QString state = TankStatePicture(m_state);
    if (!state.isEmpty()) p.drawImage(kTankStateRect.topLeft(), ArtImage(state));

    const QLocale loc = locale();
    const QString readings[3][2] = {{LoadString(3, loc), loc.toString(m_gaugeVolume, 'f', 0)},
                                    {LoadString(6, loc), loc.toString(m_gaugeLevel, 'f', 1)},
                                    {LoadString(5, loc), loc.toString(m_gaugeWaterLevel, 'f', 1)}};
    font.setPixelSize(11);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(kCaptionColor));
    for (int i = 0; i < 3; ++i) {
        const QRect line(kTankReadingsRect.left() + 4,
                         kTankReadingsRect.top() + i * kTankReadingLineHeight,
                         kTankReadingsRect.width() - 8, kTankReadingLineHeight);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, readings[i][0].trimmed());
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, readings[i][1]);
    }
}

} // namespace Halvora
