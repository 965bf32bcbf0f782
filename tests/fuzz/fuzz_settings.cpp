// The settings values that start-up reads: the access flag and the threshold.
#include "core/Settings.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)readBoolean(text);
    (void)readInteger16(text);
    return 0;
}
