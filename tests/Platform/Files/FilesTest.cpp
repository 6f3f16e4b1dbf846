// Whole-file reads of what is no plain file: streams read to their end where
// they are taken, refused without waiting where they are not.
#include "Platform/Files/Files.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "support/TempDir.hpp"

namespace Platform {
namespace {

TEST(FilesTest, StreamsAreReadToTheirEndOnlyWhereTaken) {
  TestSupport::TempDir dir;
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string bytes, failure;
  // Refused at once, with no writer to wait for.
  EXPECT_FALSE(ReadWholeFile(fifo, bytes, 1 << 20, failure));
  EXPECT_EQ(failure, "is not a regular file");
  // Taken: waits for the writer, then reads all it writes, in pieces.
  std::thread writer([&fifo] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    FILE* out = std::fopen(fifo.c_str(), "w");
    for (int i = 0; i < 3000; ++i)
      std::fputs("0123456789abcdef0123456789abcdef", out);
    std::fclose(out);
  });
  EXPECT_TRUE(ReadWholeFile(fifo, bytes, 1 << 20, failure, 1, FileKinds::AlsoStreams));
  writer.join();
  EXPECT_EQ(bytes.size(), 96000u);
  EXPECT_TRUE(bytes.starts_with("0123456789abcdef0123"));
  // A writer that is there first and quick: the FIFO is opened once, so what
  // it wrote is read, and no second open waits for a writer that is gone.
  std::thread quick([&fifo] {
    FILE* out = std::fopen(fifo.c_str(), "w");
    std::fputs("x\n", out);
    std::fclose(out);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::string quickBytes;
  EXPECT_TRUE(ReadWholeFile(fifo, quickBytes, 1 << 20, failure, 0, FileKinds::AlsoStreams));
  quick.join();
  EXPECT_EQ(quickBytes, "x\n");
  // A stream past the bound is too large; a directory stays a directory.
  EXPECT_FALSE(ReadWholeFile("/dev/zero", bytes, 1 << 20, failure, 0, FileKinds::AlsoStreams));
  EXPECT_EQ(failure, "is too large");
  EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes, 1 << 20, failure, 0, FileKinds::AlsoStreams));
  EXPECT_EQ(failure, "is a directory");
  EXPECT_EQ(bytes.size(), 96000u);  // untouched by the failures
}

TEST(FilesTest, FilesThatReportNoSizeAreReadToTheirEnd) {
  std::string bytes, failure;
  ASSERT_TRUE(ReadWholeFile("/proc/sys/kernel/ostype", bytes, 1 << 20, failure));
  EXPECT_EQ(bytes, "Linux\n");
}

}  // namespace
}  // namespace Platform
