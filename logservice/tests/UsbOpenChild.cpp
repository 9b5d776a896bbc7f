// Opens the controller link once, as the service does, and prints the outcome on one line:
// "result=<dels or -1> index=<n> serial=<s> boot=<s> driver=<s>". Arguments: port, held serial
// ("" for none), starting index. The link's log goes to the standard output.
#include <cstdio>
#include <cstdlib>

#include "common/CLog.h"
#include "logservice/CUsbLink.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PORT SERIAL INDEX\n", argv[0]);
        return 2;
    }
    CLog log("\\UsbOpenChild", "USB open child", 0, 1 << 20, 1, false, false);
    log.EnableFile(false);
    log.m_screen = true;
    log.m_level = 3;
    CStr serial(argv[2]), boot, driver;
    int32_t index = std::atoi(argv[3]);
    int32_t result = 0;
    {
        CUsbLink link(log);
        result = link.Open(static_cast<uint16_t>(std::atoi(argv[1])), serial, boot, driver, &index);
    }
    log.Flush();
    std::printf("result=%d index=%d serial=%s boot=%s driver=%s\n", result, index, serial.Narrow(),
                boot.Narrow(), driver.Narrow());
    return result >= 0 ? 0 : 1;
}
