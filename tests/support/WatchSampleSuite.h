// What the watch, tab, data-message, menu-probe and spy tests share: the
// sample's watch window, a listener window that keeps every notification
// it receives, the record as a data-message command left it, and a suite
// base whose tests share one hooked sample.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "client/DataMessageRequests.h"
#include "sample/SampleProtocol.h"
#include "tests/support/SharedSampleSuite.h"

// The sample's watch window: the window of its class in the process.
HWND FindWatchWindow(DWORD processId);

// A window of the test's thread that keeps the agent's notifications that
// reach it, posted or sent, with their parameters, in order of arrival.
class CListenerWindow {
public:
    struct Heard {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    CListenerWindow();
    CListenerWindow(const CListenerWindow&) = delete;
    CListenerWindow& operator=(const CListenerWindow&) = delete;

    HWND Window() const { return m_window.Get(); }
    // Pumps the thread's messages for waitMs, or until count messages of
    // the given id have been heard (counting what was heard before).
    void Pump(DWORD waitMs, UINT message = 0, size_t count = 0);
    // Everything of one message id heard so far.
    std::vector<Heard> HeardOf(UINT message) const;
    void Forget() { m_heard.clear(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::vector<Heard> m_heard;
    COwnedWindow m_window;
};

// The record after one data-message command: the status, the header word
// and the four words behind it, whatever the command wrote or left.
struct DataRecord {
    AgentStatus status = AgentStatus::NotOpen;
    uint32_t header = 0;
    int32_t values[4] = {0, 0, 0, 0};
};
DataRecord DataCommandRecord(CAgentClient& client, HWND target, uint32_t p1, uint32_t p2, uint32_t p3,
                             uint16_t command);

// Base of the suites that share one hooked sample with its watch window.
template <class TSuite>
class CWatchSampleSuite : public CSharedSampleSuite<TSuite> {
public:
    static constexpr const char* kArguments = "--no-dialog --own-hooks";
    static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;

protected:
    typedef CSharedSampleSuite<TSuite> Base;
    void SetUp() override {
        Base::SetUp();
        if (this->HasFatalFailure()) return;
        m_watch = FindWatchWindow(Base::s_app->ProcessId());
        ASSERT_NE(m_watch, nullptr) << "the sample shows no watch window";
    }
    LRESULT ToWatch(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_watch, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
        return static_cast<LRESULT>(result);
    }
    HWND WatchControl(int id) const { return reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchGetControl, id)); }
    CAgentClient& Client() const { return *Base::s_client; }

    HWND m_watch = nullptr;
};
