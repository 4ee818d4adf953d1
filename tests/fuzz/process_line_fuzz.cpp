// libFuzzer entry point: see ProcessLineFuzzBody.h.
#include "ProcessLineFuzzBody.h"

using namespace nelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzProcessLineOnce(data, size);
    return 0;
}
