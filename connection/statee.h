#pragma once
// States of the conversation with a connected sensor. The log prints a state as its number, so the numbers are
// fixed; the gaps (2..4, 6..11, 21..23) are unused and handled as unknown states, as is anything above
// WRITE_PROFILE_ACK.

enum class StateE : int {
    START = 0,                      // connection opened: the first event switches the measurement stream off
    GET_DEVICE_INFO = 1,            // awaiting the Info reply
    GET_TANK_CONFIG = 5,            // awaiting the TankConfig reply
    GET_OMNICOMM_CONFIG = 12,       // awaiting the OmnicommConfig reply, the last step of the reading
    SET_OMNICOMM_CONFIG = 13,       // write the RS485 tab's settings
    SET_OMNICOMM_CONFIG_ACK = 14,   // awaiting the acknowledgement of that write
    SET_TANK = 15,                  // apply the tank chosen on the parameters tab
    SET_TANK_RECORD_ACK = 16,       // awaiting the acknowledgement of the record-2 write of a tank apply
    SET_TANK_ACTIVE_ACK = 17,       // awaiting the acknowledgement of an activation
    SET_PROPERTIES_RECORD_ACK = 18, // awaiting the acknowledgement of the record-2 write of a properties apply
    GET_TANK_CONFIG_RECORD = 19,    // awaiting one tank record
    SET_PROPERTIES = 20,            // apply the properties dialog (mixture, wall thickness)
    SET_PROPERTIES_CONFIG_ACK = 24, // awaiting the acknowledgement of the TankConfig write of a properties apply
    START_TEST = 25,                // switch the measurement stream on
    START_TEST_ACK = 26,
    STOP_TEST = 27, // switch the measurement stream off
    STOP_TEST_ACK = 28,
    START_ACK = 29, // awaiting the acknowledgement of the stream-off sent from START
    CALIBRATE_EMPTY = 30,
    CALIBRATE_EMPTY_ACK = 31,
    GET_CALIBRATION_EMPTY = 32, // awaiting the Calibration record after the empty-point calibration
    CALIBRATE_FULL = 33,
    CALIBRATE_FULL_ACK = 34,
    GET_CALIBRATION_FULL = 35,
    RESET_CALIBRATION = 36, // send the calibration reset
    IDLE = 37,              // nothing pending
    RESET_CALIBRATION_ACK = 38,
    READ_CALIBRATION = 39, // read the stored calibration values
    GET_CALIBRATION = 40,
    WRITE_PROFILE = 41,     // write a profile's settings, one request after the other, then read them back
    WRITE_PROFILE_ACK = 42, // awaiting the acknowledgement of one of them
};
