// TEMPORARY: the snapshot client's interface until client/ItemSnapshot.h is on main; deleted then.
#pragma once
#if __has_include("client/ItemSnapshot.h")
#include "client/ItemSnapshot.h"
#else
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "client/AgentClient.h"
#include "client/LocatorForm.h"
struct SnapshotItem {
    int index = -1;
    RECT rect = {0, 0, 0, 0};
    bool visible = false, selected = false, expanded = false, hasChildren = false, submenu = false, enabled = true;
    int level = 0, parent = -1, commandId = 0, childCount = 0;
    uint32_t state = 0;
    std::string text;
    std::vector<std::string> columns;
    std::string role, value;
    LocatorForm form;
};
struct SnapshotOptions {
    bool allNodes = false;
    int depth = 8;
    size_t maxItems = SIZE_MAX;
    uint32_t pageBudget = 0;
    uint32_t factoryArgument = 0;
};
struct SnapshotResult {
    AgentStatus status = AgentStatus::NotOpen;
    bool served = false;
    uint32_t total = 0;
    std::vector<SnapshotItem> items;
};
inline SnapshotResult ReadItemSnapshot(CAgentClient&, HWND, int, const SnapshotOptions& = {}, DWORD = 5000) { SnapshotResult r; r.status = AgentStatus::Ok; return r; }
inline SnapshotResult ReadItemSnapshotPage(CAgentClient&, HWND, int, const SnapshotOptions&, uint32_t first, uint32_t* next, DWORD = 5000) { SnapshotResult r; r.status = AgentStatus::Ok; if (next) *next = first; return r; }
inline RECT ItemRectOnScreen(HWND window, int, const RECT& rect) { RECT r = rect; MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2); return r; }
#endif
