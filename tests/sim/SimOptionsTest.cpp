// The command line of kvr-sim.
#include "SimOptions.h"

#include <gtest/gtest.h>

using namespace kvr::sim;

namespace {

TEST(SimOptions, ARunWithEveryOption) {
  SimOptions options;
  QString error;
  ASSERT_TRUE(ParseSimOptions({"--chip", "017", "--catalogue", "c.sqlite", "--link", "/tmp/com1",
                               "--state", "s.json", "--fault", "nak=SYN@1", "--fault",
                               "drop@R1/data2", "--line-rate", "19200", "--op-time", "5"},
                              options, &error))
      << error.toStdString();
  EXPECT_EQ(options.chip, QString("017"));
  EXPECT_EQ(options.catalogue, QString("c.sqlite"));
  EXPECT_EQ(options.link, QString("/tmp/com1"));
  EXPECT_EQ(options.state, QString("s.json"));
  EXPECT_EQ(options.faults, (QStringList{"nak=SYN@1", "drop@R1/data2"}));
  EXPECT_EQ(options.lineRate, 19200);
  EXPECT_EQ(options.operationMs, 5);
  EXPECT_FALSE(options.emptySocket);
}

TEST(SimOptions, WhatDoesNotMakeARunIsRefusedWithTheReason) {
  const struct {
    QStringList arguments;
    const char *reason;
  } cases[] = {
      {{}, "--chip"},
      {{"--chip", "017", "--frob"}, "frob"},
      {{"--chip", "017", "extra"}, "extra"},
      {{"--chip", "017", "--line-rate", "fast"}, "--line-rate"},
      {{"--chip", "017", "--op-time", "-3"}, "--op-time"},
      {{"--chip", "017", "--fault", "nak=XYZ@1"}, "nak=XYZ@1"},
      {{"--empty-socket", "--state", "s.json"}, "--state"},
  };
  for (const auto &c : cases) {
    SimOptions options;
    QString error;
    EXPECT_FALSE(ParseSimOptions(c.arguments, options, &error)) << c.reason;
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
  }
  SimOptions options;
  EXPECT_TRUE(ParseSimOptions({"--empty-socket"}, options, nullptr));
  EXPECT_TRUE(ParseSimOptions({"--state", "s.json"}, options, nullptr));
  EXPECT_TRUE(ParseSimOptions({"--help"}, options, nullptr));
  EXPECT_TRUE(options.help);
  EXPECT_TRUE(SimHelpText().contains("unplug@WHERE"));
}

} // namespace
