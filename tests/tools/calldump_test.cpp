// The call dump: calls are written so that they read back exactly.
#include "output/calldump.h"

#include <gtest/gtest.h>

#include <climits>
#include <nlohmann/json.hpp>

namespace {

using Torvane::CDrawCall;

TEST(CallDumpTest, DumpReadsBackToTheSameValues) {
  // Doubles whose shortest decimal forms need all 17 digits, or are very large or small.
  const std::vector<CDrawCall> calls = {
      {CDrawCall::kPolyline,
       {{0.1 + 0.2, -2.2735170000000003}, {1e-300, 179.99999999999997}},
       2,
       0,
       0x0092121Bu,
       14},
      {CDrawCall::kPolygon,
       {{-0.0, 53.486534}, {2.0 / 3.0, -89.999999}, {1.0, 2.0}},
       3,
       INT_MIN,
       0xFFFFFFFFu,
       INT_MAX},
      {CDrawCall::kPolyline, {}, 5, -1, 0u, -7},
  };
  const std::string text = tool::FormatCallDump(calls);
  const nlohmann::json dump = nlohmann::json::parse(text);
  ASSERT_EQ(dump.size(), calls.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const nlohmann::json& item = dump[i];
    EXPECT_EQ(item["op"], calls[i].op == CDrawCall::kPolyline ? "DrawPolyline" : "DrawPolygon");
    EXPECT_EQ(item["count"].get<int>(), calls[i].count);
    EXPECT_EQ(item["third"].get<int>(), calls[i].style);
    EXPECT_EQ(item["color"].get<unsigned>(), calls[i].color);
    EXPECT_EQ(item["fifth"].get<int>(), calls[i].width);
    ASSERT_EQ(item["points"].size(), calls[i].points.size());
    for (std::size_t p = 0; p < calls[i].points.size(); ++p) {
      EXPECT_EQ(item["points"][p][0].get<double>(), calls[i].points[p].lon);
      EXPECT_EQ(item["points"][p][1].get<double>(), calls[i].points[p].lat);
    }
  }
  // The members stand in the documented order.
  const std::string first = text.substr(0, text.find('\n', 2));
  EXPECT_LT(first.find("\"op\""), first.find("\"points\""));
  EXPECT_LT(first.find("\"points\""), first.find("\"count\""));
  EXPECT_LT(first.find("\"count\""), first.find("\"third\""));
  EXPECT_LT(first.find("\"third\""), first.find("\"color\""));
  EXPECT_LT(first.find("\"color\""), first.find("\"fifth\""));
}

}  // namespace
