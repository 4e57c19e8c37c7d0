// Data and file streams: reading to the end, writing to memory and to a
// file, and failures as stream errors.
#include <gtest/gtest.h>

#include "foundation/FileManager.h"
#include "foundation/InputStream.h"
#include "foundation/OutputStream.h"
#include "support/TemporaryDirectory.h"  // tests/foundation

using namespace foundation;

namespace {

std::string readAll(InputStream& stream, size_t chunk) {
    std::string out;
    std::vector<uint8_t> buffer(chunk);
    for (;;) {
        long n = stream.read(buffer.data(), buffer.size());
        if (n <= 0) break;
        out.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(n));
    }
    return out;
}

}  // namespace

TEST(Stream, InputStreamsReadToTheEnd) {
    auto data = InputStream::inputStreamWithData(Data::fromString("hello stream"));
    uint8_t byte;
    EXPECT_EQ(data->read(&byte, 1), -1);  // not open yet
    data->open();
    EXPECT_EQ(data->streamStatus(), StreamStatus::Open);
    EXPECT_TRUE(data->hasBytesAvailable());
    EXPECT_EQ(readAll(*data, 5), "hello stream");
    EXPECT_EQ(data->streamStatus(), StreamStatus::AtEnd);
    EXPECT_FALSE(data->hasBytesAvailable());
    EXPECT_EQ(data->read(&byte, 1), 0);
    data->close();
    EXPECT_EQ(data->streamStatus(), StreamStatus::Closed);

    TemporaryDirectory dir;
    std::string path = dir / "in.txt";
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString(std::string(10000, 'f')), path, false));
    auto file = InputStream::inputStreamWithURL(URL::fileURLWithPath(path));
    ASSERT_TRUE(file);
    file->open();
    EXPECT_EQ(readAll(*file, 4096), std::string(10000, 'f'));
    EXPECT_EQ(file->streamStatus(), StreamStatus::AtEnd);
    EXPECT_EQ(InputStream::inputStreamWithURL(*URL::URLWithString("https://example.org/x")), nullptr);

    auto missing = InputStream::inputStreamWithFileAtPath(dir / "missing");
    missing->open();
    EXPECT_EQ(missing->streamStatus(), StreamStatus::Error);
    ASSERT_TRUE(missing->streamError());
    EXPECT_EQ(missing->streamError()->domain(), kPOSIXErrorDomain);
    EXPECT_EQ(missing->read(&byte, 1), -1);
}

TEST(Stream, OutputStreamsCollectWhatIsWritten) {
    auto memory = OutputStream::outputStreamToMemory();
    const uint8_t bytes[] = {'a', 'b', 'c'};
    EXPECT_EQ(memory->write(bytes, 3), -1);  // not open yet
    memory->open();
    EXPECT_TRUE(memory->hasSpaceAvailable());
    EXPECT_EQ(memory->write(bytes, 3), 3);
    EXPECT_EQ(memory->write(bytes, 2), 2);
    memory->close();
    EXPECT_EQ(memory->propertyForKey(kStreamDataWrittenToMemoryStreamKey).data()->toString(), "abcab");
    EXPECT_TRUE(memory->propertyForKey("other").isAbsent());

    TemporaryDirectory dir;
    std::string path = dir / "out.txt";
    auto file = OutputStream::outputStreamToFileAtPath(path, false);
    file->open();
    EXPECT_EQ(file->write(bytes, 3), 3);
    file->close();
    auto again = OutputStream::outputStreamToFileAtPath(path, true);
    again->open();
    EXPECT_EQ(again->write(bytes, 1), 1);
    again->close();
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(path)->toString(), "abca");
    EXPECT_TRUE(file->propertyForKey(kStreamDataWrittenToMemoryStreamKey).isAbsent());

    auto nowhere = OutputStream::outputStreamToFileAtPath(dir / "no/such/dir/file", false);
    nowhere->open();
    EXPECT_EQ(nowhere->streamStatus(), StreamStatus::Error);
    EXPECT_TRUE(nowhere->streamError());
    EXPECT_FALSE(nowhere->hasSpaceAvailable());
}
