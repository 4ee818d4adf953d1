#include "desktop/QtText.h"

#include "platform/CodePage.h"

using namespace nelo;

QString ToQString(const std::string& cp932) {
    std::string utf8;
    AppendCp932AsUtf8(cp932, utf8);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToCp932(const QString& text, int* pnReplaced) {
    const QByteArray utf8 = text.toUtf8();
    std::string out;
    int replacedCount =
        AppendUtf8AsCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), out);
    if (pnReplaced) *pnReplaced = replacedCount;
    return out;
}

QString PathToQString(const std::string& utf8Path) {
    return QString::fromUtf8(utf8Path.data(), static_cast<qsizetype>(utf8Path.size()));
}

std::string PathFromQString(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}
