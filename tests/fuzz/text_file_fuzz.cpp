// libFuzzer entry point: see TextFileFuzzBody.h.
#include "TextFileFuzzBody.h"

using namespace nelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzTextFileOnce(data, size);
    return 0;
}
