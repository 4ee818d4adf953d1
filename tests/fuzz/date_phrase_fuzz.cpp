// libFuzzer entry point: see DatePhraseFuzzBody.h.
#include "DatePhraseFuzzBody.h"

using namespace nelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzDatePhraseOnce(data, size);
    return 0;
}
