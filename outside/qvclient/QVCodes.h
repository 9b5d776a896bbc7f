/* Code sets of the forecourt client library: the small integer codes that classify pumps,
 * deliveries, tanks, events and the other values passed through the library's operations and
 * events. Every set is a 32-bit signed enumeration; most travel as int16_t. Callers pass any
 * value through unchanged: a value outside a set is not an error, it only has no name.
 * PumpStateString, DeliveryStateString, DeliveryTypeString and ReserveTypeString give the texts
 * of the four sets that have them (CodeTexts.h). Usable from C and C++. */
#ifndef QV_CODES_H
#define QV_CODES_H

/* Kind of program that logs on (ClientType). */
typedef enum TClientType {
    CLIENT_TYPE_UNKNOWN = 0,
    CLIENT_TYPE_POS = 1, /* point of sale */
    CLIENT_TYPE_BACK_OFFICE = 2,
    CLIENT_TYPE_CONFIG = 3,   /* configuration tool */
    CLIENT_TYPE_MONITOR = 4,  /* display only, controls no pump */
    CLIENT_TYPE_TERMINAL = 5, /* outdoor payment terminal */
    CLIENT_TYPE_SERVICE = 6   /* a service on the controller board */
} TClientType;

/* Privilege of a logon (ClientCategory). */
typedef enum TClientCategory {
    CLIENT_CATEGORY_STANDARD = 0,
    CLIENT_CATEGORY_TRUSTED = 1, /* logged on with a hash key */
    CLIENT_CATEGORY_INTERNAL = 2
} TClientCategory;

/* Kinds of stored object. */
typedef enum TObjectType {
    OBJECT_NONE = 0,
    OBJECT_PORT = 1,
    OBJECT_ZIGBEE = 2,
    OBJECT_GRADE = 3,
    OBJECT_TANK = 4,
    OBJECT_PUMP = 5,
    OBJECT_HOSE = 6,
    OBJECT_SENSOR = 7,
    OBJECT_PRODUCT = 8,
    OBJECT_ATTENDANT = 9,
    OBJECT_CARD_CLIENT = 10,
    OBJECT_DELIVERY = 11,
    OBJECT_LOG_EVENT = 12,
    OBJECT_SALE_ITEM = 13,
    OBJECT_CARD_READ = 14
} TObjectType;

/* Kinds of ZigBee radio device. */
typedef enum TZigBeeDevice {
    ZIGBEE_UNKNOWN = 0,
    ZIGBEE_COORDINATOR = 1,
    ZIGBEE_ROUTER = 2,
    ZIGBEE_PUMP_NODE = 3,
    ZIGBEE_TANK_NODE = 4,
    ZIGBEE_SENSOR_NODE = 5,
    ZIGBEE_ODOMETER = 6
} TZigBeeDevice;

/* Who sets a pump's prices (PriceControl). */
typedef enum TPriceControl {
    PRICE_CONTROL_SERVER = 1, /* the server sends the prices to the pump */
    PRICE_CONTROL_PUMP = 2    /* the pump keeps its own prices */
} TPriceControl;

/* How a price is paid (PriceType). */
typedef enum TPriceType {
    PRICE_TYPE_DEFAULT = 0,
    PRICE_TYPE_CASH = 1,
    PRICE_TYPE_CARD = 2,
    PRICE_TYPE_CREDIT = 3
} TPriceType;

/* How long a hose price holds (DurationType). */
typedef enum TDurationType {
    DURATION_PERMANENT = 0,
    DURATION_ONE_DELIVERY = 1,
    DURATION_PERIOD = 2
} TDurationType;

/* For what a pump is reserved (ReservedFor). A locked reservation waits for its authorise. */
typedef enum TPumpReserve {
    RESERVE_NONE = 0,
    RESERVE_AUTHORISED = 1,     /* held for the client that authorised it */
    RESERVE_PREPAY_LOCKED = 2,  /* prepay reserved, not yet authorised */
    RESERVE_PREPAY = 3,         /* prepay authorised */
    RESERVE_PREAUTH_LOCKED = 4, /* preauthorisation reserved, not yet authorised */
    RESERVE_PREAUTH = 5,        /* preauthorisation authorised */
    RESERVE_PAYMENT_LOCKED = 6, /* payment reserved, not yet authorised */
    RESERVE_PAYMENT = 7,        /* payment authorised */
    RESERVE_TAG_LOCKED = 8,     /* preauthorisation by tag, not yet authorised */
    RESERVE_TAG = 9             /* preauthorisation by tag authorised */
} TPumpReserve;

/* Number format of a display: three runs of four, each giving 3, 2, 1 and 0 decimals. */
typedef enum TDisplayFormat {
    DISPLAY_FORMAT_NONE = 0,
    DISPLAY_POINT_3 = 1,
    DISPLAY_POINT_2 = 2,
    DISPLAY_POINT_1 = 3,
    DISPLAY_POINT_0 = 4,
    DISPLAY_COMMA_3 = 5,
    DISPLAY_COMMA_2 = 6,
    DISPLAY_COMMA_1 = 7,
    DISPLAY_COMMA_0 = 8,
    DISPLAY_GROUPED_3 = 9,
    DISPLAY_GROUPED_2 = 10,
    DISPLAY_GROUPED_1 = 11
} TDisplayFormat;

/* How a pump is authorised (AuthMode). */
typedef enum TAuthMode {
    AUTH_MODE_DEFAULT = 0, /* as AUTH_MODE_CLIENT */
    AUTH_MODE_CLIENT = 1,  /* a client authorises each delivery */
    AUTH_MODE_AUTO = 2,    /* the pump authorises itself when a nozzle is lifted */
    AUTH_MODE_MONITOR = 3  /* deliveries run unauthorised and are only recorded */
} TAuthMode;

/* What happens to a pump's current delivery when another completes (StackMode). */
typedef enum TStackMode {
    STACK_MODE_DEFAULT = 0, /* as STACK_MODE_AUTO */
    STACK_MODE_AUTO = 1,    /* the current delivery is stacked by itself */
    STACK_MODE_MANUAL = 2   /* no new authorisation until the current delivery is stacked */
} TStackMode;

/* State of a delivery. Only current and stacked deliveries are kept on a pump. */
typedef enum TDeliveryState {
    DELIVERY_STATE_IN_PROGRESS = 0, /* still running */
    DELIVERY_STATE_CURRENT = 1,     /* the pump's last completed delivery */
    DELIVERY_STATE_STACKED = 2,     /* completed earlier, waiting to be paid */
    DELIVERY_STATE_CLEARED = 3      /* paid and cleared */
} TDeliveryState;

/* Accounting period (GetPeriod, ClosePeriod). */
typedef enum TPeriodType { PERIOD_SHIFT = 1, PERIOD_DAY = 2, PERIOD_MONTH = 3 } TPeriodType;

/* Kind of sale a delivery is (DeliveryType). */
typedef enum TDeliveryType {
    DELIVERY_TYPE_UNKNOWN = 0,
    DELIVERY_TYPE_POSTPAY = 1,
    DELIVERY_TYPE_PREPAY = 2,
    DELIVERY_TYPE_REFUND = 3, /* a prepay that delivered less than was paid */
    DELIVERY_TYPE_PREAUTH = 4,
    DELIVERY_TYPE_PAYMENT = 5,
    DELIVERY_TYPE_ATTENDANT = 6,
    DELIVERY_TYPE_MONITOR = 7, /* recorded on a pump in monitor mode */
    DELIVERY_TYPE_TEST = 8     /* calibration, returned to the tank */
} TDeliveryType;

/* Logging flags of a stored delivery, sale item or log event (LoggedState), as bits. */
typedef enum TDeliveryLogState {
    LOG_STATE_LOGGED = 0,        /* acknowledged by every logger */
    LOG_STATE_DB_PENDING = 1,    /* waiting for AckDeliveryDBLog */
    LOG_STATE_VOLUME_PENDING = 2 /* waiting for AckDeliveryVolLog */
} TDeliveryLogState;

/* Kind of device a log event or port concerns (DeviceType). */
typedef enum TDeviceType {
    DEVICE_NONE = 0,
    DEVICE_PUMP = 1,
    DEVICE_TANK = 2,
    DEVICE_PORT = 3,
    DEVICE_SENSOR = 4,
    DEVICE_ZIGBEE = 5,
    DEVICE_CONTROLLER = 6
} TDeviceType;

/* Kind of the next queued event (GetNextEventType). */
typedef enum TEventType {
    EVENT_NONE = 0, /* no event waiting */
    EVENT_PUMP_STATUS = 1,
    EVENT_DELIVERY = 2,
    EVENT_SERVER = 3,
    EVENT_CLIENT = 4,
    EVENT_DB_LOG = 5,
    EVENT_DB_LOG_DELIVERY = 6,
    EVENT_DB_CLEAR_DELIVERY = 7,
    EVENT_DB_STACK_DELIVERY = 8,
    EVENT_DB_HOSE_ETOTALS = 9,
    EVENT_DB_TRIGGER = 10,
    EVENT_DB_ATTENDANT_LOGON = 11,
    EVENT_DB_ATTENDANT_LOGOFF = 12,
    EVENT_DB_TANK_STATUS = 13,
    EVENT_SERIAL_PORT = 14, /* raw port traffic */
    EVENT_ZIGBEE = 15,      /* raw radio traffic */
    EVENT_UVE = 16,         /* vehicle identification antenna */
    EVENT_ZERO_DELIVERY = 17,
    EVENT_ZB_STATUS = 18,
    EVENT_ZB_PAN_ID = 19,
    EVENT_PRICE_CHANGE = 20,
    EVENT_SENSOR_STATUS = 21,
    EVENT_CARD_READ = 22,
    EVENT_ZB2G_STATUS = 23,
    EVENT_LOG_EVENT = 24,
    EVENT_SALE_ITEM = 25,
    EVENT_ODOMETER = 26,
    EVENT_TERM_PROMPT = 27
} TEventType;

/* Results of the pump and delivery control operations, beside the general results of
 * QVClient.h (0 success; -14, -23 and 8 mean the connection to the server is gone). */
typedef enum TResult {
    RESULT_OK = 0,
    RESULT_WRONG_PUMP_STATE = 20, /* the pump is not in a state that allows the call */
    RESULT_PUMP_RESERVED = 21,    /* reserved by another client, or for something else */
    RESULT_NOT_ALLOWED = 22,      /* prepay or preauthorisation not allowed on the pump */
    RESULT_NO_CURRENT_DELIVERY = 23,
    RESULT_DELIVERY_LOCKED = 24,     /* locked by another client */
    RESULT_DELIVERY_STARTED = 25,    /* too late to cancel: product is flowing */
    RESULT_STACK_FULL = 26,          /* the pump holds as many deliveries as it may */
    RESULT_CURRENT_NOT_STACKED = 27, /* manual stacking: stack the current delivery first */
    RESULT_DELIVERY_CLEARED = 28,    /* the delivery is no longer on its pump */
    RESULT_PUMP_DISABLED = 29,
    RESULT_HOSE_NOT_ALLOWED = 30 /* the lifted hose is outside the authorised hose mask */
} TResult;

/* Detail of a failed result. */
typedef enum TSubResult {
    SUB_RESULT_NONE = 0,
    SUB_RESULT_PUMP_OFFLINE = 1,
    SUB_RESULT_PUMP_ERROR = 2,
    SUB_RESULT_BAD_LIMIT = 3,
    SUB_RESULT_BAD_PRICE_LEVEL = 4
} TSubResult;

/* Kind of preset of a payment (PresetType): as TAllocLimitType. */
typedef enum TPresetType { PRESET_NONE = 1, PRESET_VALUE = 2, PRESET_VOLUME = 3 } TPresetType;

/* State of a pump (State of pump status). */
typedef enum TPumpState {
    PUMP_STATE_OFFLINE = 0,      /* the pump does not answer */
    PUMP_STATE_COMMS_ERROR = 1,  /* answers are garbled */
    PUMP_STATE_ERROR = 2,        /* the pump reports a fault */
    PUMP_STATE_LOCKED = 3,       /* reserved, waiting for its authorise */
    PUMP_STATE_IDLE = 4,         /* nozzles in, nothing pending */
    PUMP_STATE_AUTHORISED = 5,   /* authorised, no nozzle lifted yet */
    PUMP_STATE_CALLING = 6,      /* a nozzle is lifted, waiting for authorisation */
    PUMP_STATE_STARTING = 7,     /* authorised with the nozzle out, no flow yet */
    PUMP_STATE_NO_NOZZLE = 8,    /* delivering; the pump does not say which nozzle */
    PUMP_STATE_TEMP_STOPPED = 9, /* stopped by TempStop; ReAuthorise resumes */
    PUMP_STATE_DELIVERING = 10,
    PUMP_STATE_FINISHED = 11,        /* limit reached or terminated, nozzle still out */
    PUMP_STATE_SLOWING = 12,         /* delivering, slowed down near the preset limit */
    PUMP_STATE_NOZZLE_LEFT_OUT = 13, /* finished long ago and the nozzle was never hung up */
    PUMP_STATE_PREPAY_TIMEOUT = 14,  /* a prepay was not taken in time; PrepayCancel ends it */
    PUMP_STATE_STOPPED = 15,         /* stopped by AllStop; ReAuthorise or AllReAuthorise ends it */
    PUMP_STATE_PRICE_ERROR = 16,     /* the pump refused its prices */
    PUMP_STATE_DISABLED = 17         /* taken out of service by DisablePump */
} TPumpState;

/* Prompts of an outdoor terminal (QVTermPrompt). */
typedef enum TPromptID {
    PROMPT_NONE = 0,
    PROMPT_INSERT_CARD = 1,
    PROMPT_ENTER_PIN = 2,
    PROMPT_ENTER_ODOMETER = 3,
    PROMPT_ENTER_PLATE = 4,
    PROMPT_SELECT_GRADE = 5,
    PROMPT_LIFT_NOZZLE = 6,
    PROMPT_TAKE_RECEIPT = 7,
    PROMPT_MESSAGE = 8
} TPromptID;

/* How a product sale is confirmed. */
typedef enum TProductConfirmType {
    PRODUCT_CONFIRM_NONE = 0,
    PRODUCT_CONFIRM_ATTENDANT = 1,
    PRODUCT_CONFIRM_CLIENT = 2
} TProductConfirmType;

/* What identifies a customer at a pump. */
typedef enum TIDRequestType {
    ID_REQUEST_NONE = 0,
    ID_REQUEST_TAG = 1,
    ID_REQUEST_PLATE = 2,
    ID_REQUEST_ODOMETER = 3,
    ID_REQUEST_DRIVER = 4
} TIDRequestType;

/* Hose numbers of a pump, as the bits of a preset's hose mask. */
typedef enum THose { HOSE_1 = 1, HOSE_2 = 2, HOSE_3 = 4, HOSE_4 = 8, HOSE_ALL = 255 } THose;

/* Kind of limit of a preset, an authorisation or a card client (LimitType). A limit of 0 is no
 * limit whatever its kind. */
typedef enum TAllocLimitType {
    LIMIT_NONE = 1,
    LIMIT_VALUE = 2,
    LIMIT_VOLUME = 3,
    LIMIT_DAILY_VALUE = 4,
    LIMIT_DAILY_VOLUME = 5,
    LIMIT_MONTHLY_VALUE = 6,
    LIMIT_MONTHLY_VOLUME = 7
} TAllocLimitType;

/* Events a client may send to the others (FireClientEvent). */
typedef enum TClientEvent {
    CLIENT_EVENT_MESSAGE = 1,
    CLIENT_EVENT_REFRESH = 2,
    CLIENT_EVENT_SHIFT_CHANGE = 3,
    CLIENT_EVENT_PRICE_CHANGE = 4
} TClientEvent;

/* Kind of tank (Type). */
typedef enum TTankType {
    TANK_TYPE_UNKNOWN = 0,
    TANK_TYPE_HORIZONTAL = 1, /* lying cylinder */
    TANK_TYPE_VERTICAL = 2,   /* standing cylinder */
    TANK_TYPE_RECTANGULAR = 3
} TTankType;

/* State of a tank gauge (State of tank status). */
typedef enum TTankState {
    TANK_STATE_GAUGE_ERROR = 0, /* the gauge does not answer */
    TANK_STATE_NORMAL = 1,
    TANK_STATE_FALLING = 2,   /* product is being drawn */
    TANK_STATE_RISING = 3,    /* a drop is being received */
    TANK_STATE_LOW = 4,       /* below its low-level alarm */
    TANK_STATE_HIGH = 5,      /* above its high-level alarm */
    TANK_STATE_NO_SERVER = 6, /* never sent by the server: a client's mark for a lost link */
    TANK_STATE_HIGH_WATER = 7
} TTankState;

/* Alarm bits of a tank (AlarmsMask). */
typedef enum TTankAlarm {
    TANK_ALARM_LOW = 1,
    TANK_ALARM_HIGH = 2,
    TANK_ALARM_HIGH_WATER = 4,
    TANK_ALARM_CRITICAL_LOW = 8
} TTankAlarm;

/* Kind of attendant (Type). */
typedef enum TAttendantType {
    ATTENDANT_TYPE_ATTENDANT = 1,
    ATTENDANT_TYPE_SUPERVISOR = 2,
    ATTENDANT_TYPE_MANAGER = 3
} TAttendantType;

/* How a payment or sale item was authorised (AuthType). */
typedef enum TAuthorisationType {
    AUTHORISATION_NONE = 0,
    AUTHORISATION_CASH = 1,
    AUTHORISATION_CARD = 2,
    AUTHORISATION_TAG = 3,
    AUTHORISATION_ATTENDANT = 4,
    AUTHORISATION_ACCOUNT = 5
} TAuthorisationType;

/* Element of a price sign (ElementType). */
typedef enum TPriceSignElementType {
    PRICE_SIGN_NONE = 0,
    PRICE_SIGN_PRICE = 1,
    PRICE_SIGN_TEXT = 2,
    PRICE_SIGN_LOGO = 3
} TPriceSignElementType;

#endif /* QV_CODES_H */
