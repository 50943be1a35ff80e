// Base of a test suite whose tests share one hooked sample (started once
// for the suite). TSuite names the sample's arguments and the record size:
//   class MyTest : public CSharedSampleSuite<MyTest> {
//   public:
//       static constexpr const char* kArguments = "--no-dialog";
//       static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;
//   };
// A suite's own SetUp calls this SetUp first and stops on a fatal failure.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "tests/support/HookedSample.h"

template <class TSuite>
class CSharedSampleSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_sample.reset(new CHookedSample());
        s_error = s_sample->Start(TSuite::kArguments, TSuite::kRecordSize);
        s_app = &s_sample->App();
        s_client = &s_sample->Client();
    }
    static void TearDownTestSuite() {
        s_sample.reset();
        s_app = nullptr;
        s_client = nullptr;
        s_error.clear();
    }
    void SetUp() override {
        ASSERT_TRUE(s_error.empty()) << s_error;
        ASSERT_TRUE(s_app->IsRunning());
    }

    static inline std::unique_ptr<CHookedSample> s_sample;
    static inline CSampleProcess* s_app = nullptr;
    static inline CAgentClient* s_client = nullptr;
    static inline std::string s_error;
};
