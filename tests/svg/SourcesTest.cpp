// SVG sources: the bytes a parse sees, and a missing file still giving a source.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "foundation/URL.h"
#include "svg/sources/SVGXExtensions.h"
#include "svg/sources/SVGXSourceLocalFile.h"
#include "svg/sources/SVGXSourceString.h"
#include "svg/sources/SVGXSourceURL.h"

namespace svg {
namespace {

std::string readAll(foundation::InputStream& stream, size_t chunk = 7) {
    std::string out;
    std::vector<uint8_t> buffer(chunk);
    long n;
    while ((n = stream.read(buffer.data(), buffer.size())) > 0) out.append(buffer.begin(), buffer.begin() + n);
    EXPECT_EQ(n, 0);
    return out;
}

TEST(SVGXSourceTest, StringAndFileSourcesGiveTheSameBytes) {
    const std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>Caf\xc3\xa9 \xe2\x98\x95</text></svg>\n";
    auto path = std::filesystem::temp_directory_path() / "qva-svg-source-test.svg";
    std::ofstream(path, std::ios::binary) << text;

    auto fromString = SVGXSourceString::sourceFromContentsOfString(text);
    auto fromFile = SVGXSourceLocalFile::sourceFromFilename(path.string());
    auto fromURL = SVGXSourceURL::sourceFromURL(foundation::URL::fileURLWithPath(path.string()));
    // The string factory answers a plain source, with nothing of the text kept.
    EXPECT_EQ(fromString->className(), "SVGXSource");
    EXPECT_EQ(fromFile->filePath(), path.string());

    for (const auto& source :
         {fromString, std::shared_ptr<SVGXSource>(fromFile), std::shared_ptr<SVGXSource>(fromURL)}) {
        ASSERT_EQ(source->stream()->streamStatus(), foundation::StreamStatus::Open);
        EXPECT_EQ(readAll(*source->stream()), text);
        EXPECT_EQ(source->stream()->streamStatus(), foundation::StreamStatus::AtEnd);
        source->stream()->close();
        EXPECT_EQ(source->stream()->streamStatus(), foundation::StreamStatus::Closed);
        EXPECT_EQ(source->stream()->read(nullptr, 0), -1);
    }
    std::filesystem::remove(path);
}

TEST(SVGXSourceTest, UnreachableBytesStillGiveASourceInErrorStatus) {
    auto missing = SVGXSourceLocalFile::sourceFromFilename("/nonexistent/qva/plan.svg");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->filePath(), "/nonexistent/qva/plan.svg");
    EXPECT_EQ(missing->stream()->streamStatus(), foundation::StreamStatus::Error);
    ASSERT_TRUE(missing->stream()->streamError());
    EXPECT_EQ(missing->stream()->streamError()->domain(), foundation::kPOSIXErrorDomain);
    EXPECT_EQ(missing->stream()->streamError()->code(), ENOENT);
    uint8_t byte;
    EXPECT_EQ(missing->stream()->read(&byte, 1), -1);

    auto remote = SVGXSourceURL::sourceFromURL(*foundation::URL::URLWithString("https://example.org/plan.svg"));
    EXPECT_EQ(remote->URL().absoluteString(), "https://example.org/plan.svg");
    EXPECT_EQ(remote->stream()->streamStatus(), foundation::StreamStatus::Error);

    // A stream handed in is kept as it is, not opened.
    SVGXSource plain(foundation::InputStream::inputStreamWithData(foundation::Data::fromString("x")));
    EXPECT_EQ(plain.stream()->streamStatus(), foundation::StreamStatus::NotOpen);
    EXPECT_FALSE(plain.svgLanguageVersion());
    plain.setSvgLanguageVersion("1.1");
    EXPECT_EQ(plain.svgLanguageVersion(), "1.1");

    EXPECT_EQ(SVGXExtensions::SVGWhitespaceCharacterSet(), std::string_view(" \t\r\n"));
}

}  // namespace
}  // namespace svg
