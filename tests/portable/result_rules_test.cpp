#include "supervision/query_result_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kestrune {
namespace {

// A byte source over `bytes` that hands out at most `chunk` bytes per read.
TextLineReader::ReadBytes Source(const std::string& bytes, std::size_t chunk) {
  auto position = std::make_shared<std::size_t>(0);
  return [bytes, chunk, position](char* buffer, std::size_t size) {
    const std::size_t count = std::min({size, chunk, bytes.size() - *position});
    std::memcpy(buffer, bytes.data() + *position, count);
    *position += count;
    return count;
  };
}

const std::string kHeader = "ADDRESS           PLAYERS      MAP   RESPONSE TIME    NAME";

TEST(ResultFile, LineTwoAndItsVerdict) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string line2;
    bool no_answer;
  };
  const std::string long_name(10000, 'n');
  const Case cases[] = {
      {"CR LF lines, no response", kHeader + "\r\n127.0.0.1:27015  no response\r\n",
       "127.0.0.1:27015  no response", true},
      {"lone LF stays in line 1", kHeader + "\n127.0.0.1:27015  no response\n", "", false},
      {"lone CR ends a line", kHeader + "\r127.0.0.1:27015  no response\r",
       "127.0.0.1:27015  no response", true},
      {"Ctrl-Z before line 2", kHeader + "\r\n\x1a" + "127.0.0.1:27015  no response\r\n", "",
       false},
      {"Ctrl-Z inside line 2", kHeader + "\r\n127.0.0.1:27015  no\x1a response\r\n",
       "127.0.0.1:27015  no", false},
      {"empty file", "", "", false},
      {"one line only", kHeader + "\r\n", "", false},
      {"no response in line 3",
       kHeader + "\r\n10.0.0.1:27015  5/16 0/0 de_dust2 45 / 0 cstrike A\r\n" +
           "10.0.0.2:27015  no response\r\n",
       "10.0.0.1:27015  5/16 0/0 de_dust2 45 / 0 cstrike A", false},
      {"other letter case", kHeader + "\r\n127.0.0.1:27015  No Response\r\n",
       "127.0.0.1:27015  No Response", false},
      {"port closed", kHeader + "\r\n127.0.0.1:27015        DOWN\r\n",
       "127.0.0.1:27015        DOWN", true},
      {"DOWN inside a server name",
       kHeader + "\r\n127.0.0.1:27015  5/16 0/0 de_dust2 45 / 0 cstrike DOWN\r\n",
       "127.0.0.1:27015  5/16 0/0 de_dust2 45 / 0 cstrike DOWN", false},
      {"DOWN alone", kHeader + "\r\nDOWN\r\n", "DOWN", false},
      {"host not found", kHeader + "\r\nbadhost:27015         ERROR <host not found>\r\n",
       "badhost:27015         ERROR <host not found>", false},
      {"a very long line", kHeader + "\r\n" + long_name + " no response\r\n",
       long_name + " no response", true},
      {"CR LF split across reads", std::string(4095, 'h') + "\r\nsecond\r\n", "second", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (std::size_t chunk : {std::size_t(1), std::size_t(7), std::size_t(1) << 20}) {
      EXPECT_EQ(SecondLine(Source(c.bytes, chunk)), c.line2) << "reads of " << chunk;
    }
    EXPECT_EQ(ServerDidNotAnswer(c.line2), c.no_answer);
  }
}

TEST(ResultFile, AReadFailurePassesThrough) {
  const auto failing = [](char*, std::size_t) -> std::size_t { throw std::runtime_error("io"); };
  EXPECT_THROW(SecondLine(failing), std::runtime_error);
}

TEST(QueryToolCall, DerivedFromTheFieldsAsTheyStand) {
  const QueryToolCall full = DeriveQueryToolCall("C:\\qstat\\qstat.exe", "192.0.2.10", "27015");
  EXPECT_EQ(full.file_name, "qstat.exe");
  EXPECT_EQ(full.directory, "C:\\qstat\\");
  EXPECT_EQ(full.parameters, " -of query.txt -P -a2s 192.0.2.10:27015");
  EXPECT_EQ(full.result_path, "C:\\qstat\\query.txt");

  const QueryToolCall bare = DeriveQueryToolCall("qstat.exe", " host ", "");
  EXPECT_EQ(bare.file_name, "qstat.exe");
  EXPECT_EQ(bare.directory, "");
  EXPECT_EQ(bare.parameters, " -of query.txt -P -a2s  host :");
  EXPECT_EQ(bare.result_path, "query.txt");
}

}  // namespace
}  // namespace kestrune
