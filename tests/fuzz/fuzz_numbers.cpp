// The number reading of the fields and the number form of what it read.
#include "platform/Cp1252.h"
#include "platform/NumberForm.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    const QString text = fromCp1252(QByteArrayView(data, qsizetype(size)));
    const double value = readNumber(text);
    (void)numberForm(static_cast<float>(value));
    return 0;
}
