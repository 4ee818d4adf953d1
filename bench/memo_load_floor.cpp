// The loading floor: reads memo records (one "object、name、value" line each, UTF-8)
// into a hash map of vectors and nothing more. bench/run_peers.sh compares loading a
// notebook holding the same records with this.
//   memo_load_floor FILE
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kComma = "\xE3\x80\x81";  // 、

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: memo_load_floor FILE\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "rb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    std::string data;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    std::fclose(f);

    std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> memos;
    std::size_t pairs = 0;
    std::string_view rest(data);
    while (!rest.empty()) {
        std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        std::size_t a = line.find(kComma);
        if (a == std::string_view::npos) continue;
        std::size_t b = line.find(kComma, a + kComma.size());
        if (b == std::string_view::npos) continue;
        memos[std::string(line.substr(0, a))].emplace_back(
            std::string(line.substr(a + kComma.size(), b - a - kComma.size())),
            std::string(line.substr(b + kComma.size())));
        ++pairs;
    }
    std::printf("%zu objects, %zu pairs\n", memos.size(), pairs);
    return 0;
}
