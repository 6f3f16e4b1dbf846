#include "support/EverySwitchRun.hpp"

#include <gtest/gtest.h>

#include "support/FakeDataApi.hpp"

namespace TestSupport {

std::vector<std::string> EverySwitchArguments(std::vector<std::string> leading) {
  for (const char* arg :
       {"/N", "Projects", "/I", "Report %FileName% (%FileNamesEx%)", "/A", "chart.png", "/A",
        "data.csv", "/TT", "work", "weekly", "/C", "%FileMTime%", "/E", "2024-02-03T04:05:06"})
    leading.emplace_back(arg);
  return leading;
}

void ExpectEverySwitchRequests(const TestHttpServer& server) {
  const auto uploads = RequestsTo(server, "POST", "/resources");
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(FileBytesOf(uploads[0]), std::string("\x89PNG\r\n\x1a\n\0\x01", 10));
  EXPECT_NE(uploads[0].Body.find("filename=\"chart.png\"\r\nContent-Type: image/png"),
            std::string::npos);
  EXPECT_NE(PropsOf(uploads[0]).find(R"j("updated_time":1704463449000)j"), std::string::npos);
  EXPECT_EQ(FileBytesOf(uploads[1]), "a,b\n1,2\n");
  EXPECT_EQ(TheNoteJson(server),
            R"j({"title":"Report chart (chart.png data.csv)","markup_language":1,)j"
            R"j("user_created_time":1704463449000,"user_updated_time":1706933106000,)j"
            R"j("parent_id":"F2","tags":"work, weekly",)j"
            R"j("body":"# Weekly\r\nline two\r\n\r\n![chart.png](:\/R1)\r\n[data.csv](:\/R2)"})j");
}

}  // namespace TestSupport
