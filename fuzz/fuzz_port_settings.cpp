// The serial settings text as typed or stored: anything accepted is a valid line setting whose usual
// form parses back to the same settings; anything refused leaves the settings alone and says why.
#include "platform/comm/PortSettings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const PortSettings before{1234, 'X', 3, 7};
    PortSettings s = before;
    const AppError error = PortSettings::parse(text, s);
    if (error) {
        if (s != before || error.number != 380 || error.description.isEmpty())
            std::abort();
        return 0;
    }
    if (s.baud <= 0 || !QByteArrayLiteral("EONMS").contains(s.parity) || s.dataBits < 5 || s.dataBits > 8 ||
        s.halfStopBits < 2 || s.halfStopBits > 4)
        std::abort();
    PortSettings again;
    if (PortSettings::parse(s.text(), again) || again != s)
        std::abort();
    return 0;
}
