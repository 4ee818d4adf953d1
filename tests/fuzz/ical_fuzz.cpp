// libFuzzer entry point: see ICalFuzzBody.h.
#include "ICalFuzzBody.h"

using namespace nelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzICalOnce(data, size);
    return 0;
}
