#include "image/image_links.h"

#include <gtest/gtest.h>

using namespace tessaly;

TEST(PercentDecodeTest, DecodesEscapesInEitherCase) {
    EXPECT_EQ(PercentDecode(u"%41%42"_qs), u"AB"_qs);
    EXPECT_EQ(PercentDecode(u"a%2fb%2Fc"_qs), u"a/b/c"_qs);
    EXPECT_EQ(PercentDecode(u"plain text"_qs), u"plain text"_qs);
    EXPECT_EQ(PercentDecode(u"100%zz"_qs), u"100%zz"_qs);  // not an escape: kept
}

TEST(PercentDecodeTest, ReadsTheBytesAsUtf8) {
    EXPECT_EQ(PercentDecode(u"%E3%83%A2%E3%82%B6"_qs), u"モザ"_qs);
    EXPECT_EQ(PercentDecode(u"%e3%83%a2"_qs), u"モ"_qs);
    EXPECT_EQ(PercentDecode(u"%EF%BB%BFabc"_qs), u"abc"_qs);  // byte-order mark dropped
    EXPECT_EQ(PercentDecode(u"写真%20🎨"_qs), u"写真 🎨"_qs);   // text outside escapes kept whole
}

TEST(PercentDecodeTest, MalformedEscapesGiveTheEmptyText) {
    EXPECT_EQ(PercentDecode(u"abc%4"_qs), QString());
    EXPECT_EQ(PercentDecode(u"abc%"_qs), QString());
    EXPECT_EQ(PercentDecode(u"%E3%83"_qs), QString());  // a cut-off UTF-8 character
    EXPECT_EQ(PercentDecode(u"%FF"_qs), QString());
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
