#include "store/core/Win1252.h"

#include <QHash>
#include <array>
#include <iconv.h>

namespace {

// The 256 characters of Windows-1252, asked of iconv once. The five bytes that the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// number, as Windows itself does, so that every byte survives a round trip.
struct CodePage {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    CodePage()
    {
        iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1252");
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            char16_t out = char16_t(b);
            if (cd != iconv_t(-1)) {
                char *inp = &in;
                size_t inLeft = 1;
                char16_t unit = 0;
                char *outp = reinterpret_cast<char *>(&unit);
                size_t outLeft = sizeof unit;
                if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 0)
                    out = unit;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
            toUnicode[b] = out;
            fromUnicode.insert(out, char(b));
        }
        if (cd != iconv_t(-1))
            iconv_close(cd);
    }
};

const CodePage &codePage()
{
    static const CodePage page;
    return page;
}

} // namespace

QByteArray toWin1252(const QString &text)
{
    const CodePage &page = codePage();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(page.fromUnicode.value(c.unicode(), '?'));
    return bytes;
}

QString fromWin1252(const QByteArray &bytes)
{
    const CodePage &page = codePage();
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text.append(QChar(page.toUnicode[static_cast<unsigned char>(b)]));
    return text;
}

bool fitsWin1252(const QString &text)
{
    const CodePage &page = codePage();
    for (QChar c : text)
        if (!page.fromUnicode.contains(c.unicode()))
            return false;
    return true;
}

QString keepWin1252(const QString &text)
{
    const CodePage &page = codePage();
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (page.fromUnicode.contains(c.unicode()))
            kept.append(c);
    return kept;
}
