// Notebook and tag directories against the loopback test server.
#include <gtest/gtest.h>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "support/TestHttpServer.hpp"

namespace JoplinRestUtils {
namespace {

using TestSupport::Reply;

std::string Items(const std::string& items, const char* hasMore = nullptr) {
  std::string body = R"({"items":[)" + items + "]";
  if (hasMore)
    body += std::string(R"(,"has_more":)") + hasMore;
  return body + "}";
}

class DirectoriesTest : public ::testing::Test {
 protected:
  TestSupport::TestHttpServer Server;
  TJoplinRest Rest{"tok", Server.BaseUrl()};
};

TEST_F(DirectoriesTest, LastOfEqualTitlesWinsIgnoringAsciiCaseOnly) {
  Server.Queue(Reply::Json(Items(R"({"id":"A","title":"Inbox"},{"id":"B","title":"inbox"},)"
                                 R"({"id":"C","title":"Über"},{"id":12,"title":"Num"},)"
                                 R"({"id":"D","title":""},{"id":"E","title":"a=b"})")));
  EXPECT_EQ(Rest.FindNotebookId("INBOX"), "B");
  EXPECT_EQ(Rest.FindNotebookId(" Inbox"), "");
  EXPECT_EQ(Rest.FindNotebookId("über"), "");
  EXPECT_EQ(Rest.FindNotebookId("Über"), "C");
  EXPECT_EQ(Rest.FindNotebookId("num"), "12");
  EXPECT_EQ(Rest.FindNotebookId(""), "");
  EXPECT_EQ(Rest.FindNotebookId("a=b"), "E");
  EXPECT_EQ(Rest.Folders().Lines(),
            (std::vector<std::string>{"A=Inbox", "B=inbox", "C=Über", "12=Num", "E=a=b"}));
  const auto requests = Server.Requests();
  ASSERT_EQ(requests.size(), 1u);  // fetched once
  EXPECT_EQ(requests[0].Target, "/folders?token=tok");
}

// Only nested notebooks take an entry; a later item of the same id decides.
TEST_F(DirectoriesTest, ParentsOfNestedNotebooksOnly) {
  Rest.SetFoldersList(Items(R"({"id":"A","title":"Top","parent_id":""},)"
                            R"({"id":"B","title":"Mid","parent_id":"A"},)"
                            R"({"id":"C","title":"Low","parent_id":"B"},{"id":"D","title":"Top2"},)"
                            R"({"id":"B","title":"Moved","parent_id":""},)"
                            R"({"id":"D","title":"Top2","parent_id":"C"})"));
  EXPECT_EQ(Rest.FolderParents(), (TFolderParents{{"C", "B"}, {"D", "C"}}));
  EXPECT_EQ(Rest.Folders().Lines(),
            (std::vector<std::string>{"A=Top", "B=Moved", "C=Low", "D=Top2"}));
}

TEST_F(DirectoriesTest, EmptyDirectoryIsFetchedAgain) {
  Server.Queue(Reply::Json(Items("")));
  Server.Queue(Reply::Json("<html>not json</html>"));
  Server.Queue(Reply::Json(Items(R"({"id":"A","title":"Inbox"})")));
  EXPECT_EQ(Rest.FindNotebookId("Inbox"), "");
  EXPECT_EQ(Rest.FindNotebookId("Inbox"), "");
  EXPECT_EQ(Rest.FindNotebookId("Inbox"), "A");
  EXPECT_EQ(Server.Requests().size(), 3u);
}

TEST_F(DirectoriesTest, ErrorObjectRaisesValueNotFoundAndKeepsTheDirectory) {
  Rest.SetFoldersList(Items(R"({"id":"A","title":"Inbox"})"));
  try {
    Rest.SetFoldersList(R"({"error":"Invalid token"})");
    FAIL() << "no error";
  } catch (const EJsonError& error) {
    EXPECT_STREQ(error.KindName(), "EJSONException");
    EXPECT_NE(std::string(error.what()).find("items"), std::string::npos);
  }
  EXPECT_EQ(Rest.Folders().Lines(), (std::vector<std::string>{"A=Inbox"}));

  Server.Queue(Reply::Json(R"({"error":"Invalid token"})", 403));
  TJoplinRest fresh("bad", Server.BaseUrl());
  EXPECT_THROW(fresh.FindNotebookId("Inbox"), EJsonError);
}

TEST_F(DirectoriesTest, WrongShapesRaise) {
  EXPECT_THROW(Rest.SetFoldersList("[1,2]"), EInvalidCast);
  EXPECT_THROW(Rest.SetFoldersList(R"({"items":{}})"), EInvalidCast);
  EXPECT_THROW(Rest.SetFoldersList(R"({"items":[{"id":"A"}]})"), EJsonError);
  EXPECT_THROW(Rest.SetFoldersList(R"({"items":[{"id":{},"title":"x"}]})"), EJsonError);
  // An element that fails ends the call with the pairs stored so far.
  EXPECT_THROW(Rest.SetTagsList(R"({"items":[{"id":"A","title":"a"},{"id":[]}]})"), EJsonError);
  EXPECT_EQ(Rest.Tags().Lines(), (std::vector<std::string>{"A=a"}));
  Rest.SetTagsList(R"({"items":[{"id":"T","title":true},{"id":"N","title":null}]})");
  EXPECT_EQ(Rest.Tags().Lines(), (std::vector<std::string>{"T=true"}));
}

TEST_F(DirectoriesTest, EveryPageOfTheNotebookListIsRead) {
  Server.Handle([](const TestSupport::RecordedRequest& request) {
    int page = 1;
    if (const size_t at = request.Target.find("page="); at != std::string::npos)
      page = std::stoi(request.Target.substr(at + 5));
    std::string items;
    for (int i = (page - 1) * 100; i < std::min(page * 100, 250); ++i) {
      if (!items.empty())
        items += ",";
      items +=
          R"({"id":"id)" + std::to_string(i) + R"(","title":"Book )" + std::to_string(i) + "\"}";
    }
    return Reply::Json(Items(items, page < 3 ? "true" : "false"));
  });
  EXPECT_EQ(Rest.FindNotebookId("Book 249"), "id249");
  EXPECT_EQ(Rest.Folders().Count(), 250u);
  const auto requests = Server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].Target, "/folders?page=2&token=tok");
  EXPECT_EQ(requests[2].Target, "/folders?page=3&token=tok");
}

TEST_F(DirectoriesTest, PagingStopsAtAnEmptyPage) {
  Server.Handle([](const TestSupport::RecordedRequest& request) {
    return Reply::Json(request.Target.find("page=") == std::string::npos
                           ? Items(R"({"id":"A","title":"a"})", "true")
                           : Items("", "true"));
  });
  EXPECT_EQ(Rest.FindTagId("a", false), "A");
  EXPECT_EQ(Server.Requests().size(), 2u);
}

TEST_F(DirectoriesTest, FindTagIdCreatesAMissingTag) {
  Server.Queue(Reply::Json(Items(R"({"id":"A","title":"home"})")));
  EXPECT_EQ(Rest.FindTagId("Work", false), "");
  EXPECT_EQ(Server.Requests().size(), 1u);  // nothing posted

  Server.Queue(Reply::Json(R"({"id":"C","title":"work"})"));
  EXPECT_EQ(Rest.FindTagId("Work", true), "C");
  const auto post = Server.Requests().back();
  EXPECT_EQ(post.Method, "POST");
  EXPECT_EQ(post.Target, "/tags?token=tok");
  EXPECT_EQ(post.Body, R"({"title":"Work"})");
  EXPECT_EQ(Rest.Tags().Lines(), (std::vector<std::string>{"A=home", "C=work"}));

  Server.Queue(Reply::Json(R"({"error":"no"})", 500));
  EXPECT_EQ(Rest.FindTagId("Other", true), "");
  EXPECT_EQ(Rest.Tags().Count(), 2u);
}

TEST(ParseIdAndTitleTest, ReadsIdFirst) {
  std::string id = "old", title = "old";
  EXPECT_TRUE(ParseIdAndTitle(R"({"id":7,"title":"T"})", id, title));
  EXPECT_EQ(id, "7");
  EXPECT_EQ(title, "T");
  id = title = "old";
  EXPECT_FALSE(ParseIdAndTitle(R"({"id":"X"})", id, title));
  EXPECT_EQ(id, "X");
  EXPECT_EQ(title, "old");
  for (const char* text : {"", "nope", "[1]", R"({"title":"t"})"}) {
    id = "old";
    EXPECT_FALSE(ParseIdAndTitle(text, id, title)) << text;
    EXPECT_EQ(id, "old");
  }
}

}  // namespace
}  // namespace JoplinRestUtils
