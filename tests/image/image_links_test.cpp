#include "image/image_links.h"

#include <gtest/gtest.h>

using namespace tessaly;

// Escapes in either case read as UTF-8; text outside them is kept whole; a
// malformed escape or a cut-off character gives the empty text.
TEST(PercentDecodeTest, DecodesEscapesAsUtf8) {
    const std::pair<QString, QString> cases[] = {
        {u"%41%42"_qs, u"AB"_qs},
        {u"a%2fb%2Fc"_qs, u"a/b/c"_qs},
        {u"plain text"_qs, u"plain text"_qs},
        {u"100%zz"_qs, u"100%zz"_qs},  // not an escape: kept
        {u"%E3%83%A2%E3%82%B6"_qs, u"モザ"_qs},
        {u"%e3%83%a2"_qs, u"モ"_qs},
        {u"%EF%BB%BFabc"_qs, u"abc"_qs},  // byte-order mark dropped
        {u"写真%20🎨"_qs, u"写真 🎨"_qs},
        {u"abc%4"_qs, {}},
        {u"abc%"_qs, {}},
        {u"%E3%83"_qs, {}},
        {u"%FF"_qs, {}},
    };
    for (const auto& [encoded, decoded] : cases)
        EXPECT_EQ(PercentDecode(encoded), decoded) << encoded.toStdString();
}

TEST(LinkImageTypeTest, EndingsGiveTheirTypeInAnyCase) {
    const std::pair<QString, QString> cases[] = {
        {u"http://x/a.JPG"_qs, u"jpeg"_qs},  {u"http://x/a.jpeg"_qs, u"jpeg"_qs},
        {u"http://x/a.Gif"_qs, u"gif"_qs},   {u"http://x/a.bmp"_qs, u"bmp"_qs},
        {u"http://x/a.png"_qs, u"png"_qs},   {u"http://x/a.TIF"_qs, u"tiff"_qs},
        {u"http://x/a.tiff"_qs, u"tiff"_qs},
    };
    for (const auto& [link, type] : cases) {
        QString changed = link;
        EXPECT_EQ(LinkImageType(changed), type) << link.toStdString();
        EXPECT_EQ(changed, link);
    }
}

TEST(LinkImageTypeTest, FindsTheImageAddressInASearchResult) {
    QString link =
        u"https://www.example.com/imgres?imgurl=https%3A%2F%2Fpics.example.org%2Fcat%20one.png"
        "&imgrefurl=https%3A%2F%2Fpics.example.org%2Fpage.html&h=480"_qs;
    EXPECT_EQ(LinkImageType(link), u"png"_qs);
    EXPECT_EQ(link, u"https://pics.example.org/cat one.png"_qs);
}

TEST(LinkImageTypeTest, TakesTheLastAddressBeforeTheFirstExtension) {
    QString link =
        u"http://a.example/view?u=https://b.example/x.gif&next=http://c.example/y.jpg&z=1"_qs;
    // "jpeg" and "jpg" are searched before "gif": the jpg address wins.
    EXPECT_EQ(LinkImageType(link), u"jpeg"_qs);
    EXPECT_EQ(link, u"http://c.example/y.jpg"_qs);
}

TEST(LinkImageTypeTest, LinksWithoutAnImageGiveNoType) {
    QString page = u"https://example.com/gallery?id=4"_qs;
    EXPECT_EQ(LinkImageType(page), QString());
    EXPECT_EQ(page, u"https://example.com/gallery?id=4"_qs);
    QString noScheme = u"ftp://example.com/a.png?x"_qs;
    EXPECT_EQ(LinkImageType(noScheme), QString());
}

TEST(FindEmbeddedLinkTest, StopsDecodingLinksThatKeepTheirPercentSigns) {
    // "%zz" survives every decoding round; the search must still end.
    const QString link = u"http://x.example/a%zz.png"_qs;
    EXPECT_EQ(FindEmbeddedLink(link, u"png"_qs), link);
}
