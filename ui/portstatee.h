#pragma once
// Connection state of the port box and the connect button.

enum class PortStateE : int {
    NO_PORTS = 0,   // no matching port: the button offers the connection help ("Диагностика")
    PORT_READY = 1, // ports listed, not connected ("Подключить")
    CONNECTING = 2, // link created and open requested, no report from the port yet ("Подключение...")
    CONNECTED = 3,  // the sensor has been read; the link stays open ("Отключить")
    READING = 4,    // port open, the conversation reads the sensor ("Чтение данных...")
};
