#include "frontend/library/connection_parameters_document.h"

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"

namespace {

TEST(ConnectionParametersDocument, HoldsOnlyWhatWasChosen) {
  struct Case {
    const char* compression;
    int32_t reconnect;
    const char* document;
  } cases[] = {
      {"", kReconnectUnset, "{}"},
      {"bestsize", kReconnectUnset, R"({"compress":"bestsize"})"},
      {"", kReconnectOff, R"({"reconnect":"false"})"},
      {"no", kReconnectOn, R"({"compress":"no","reconnect":"true"})"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.document,
              WriteCompactJson(MakeConnectionParametersDocument(c.compression, c.reconnect)))
        << c.compression << " " << c.reconnect;
  }
}

}  // namespace
