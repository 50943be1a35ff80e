// Finds a recorded window again among the windows of the desktop, for
// instance in a new run of the application where every handle has changed.
//
// A window is a candidate when its class name and its parent's class name
// equal the recorded ones (class names of the Afx pattern compared up to
// their third colon, all case-insensitively), its control identifier is the
// recorded one (child windows only: a top-level window's identifier is its
// menu handle), its frame ancestor has the recorded class at the recorded
// depth (or it has none, as recorded), and, when a module path was recorded,
// its process runs an executable of the same file name. Candidates are then
// ranked by how many of the finer traits also agree: styles, extended
// styles, the frame's title checksum and styles, the full executable path,
// the number of descendants and the size. One best candidate is a match;
// several equally good ones are reported as ambiguous, never chosen among.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "client/WindowDescriptionReader.h"

enum class MatchOutcome { None, Match, Ambiguous };

const char* MatchOutcomeText(MatchOutcome outcome);

struct WindowCandidate {
    HWND hwnd = nullptr;
    int score = 0;
    // The traits that agreed, for display ("style", "checksum", ...).
    std::vector<std::string> agreed;
};

struct MatchResult {
    MatchOutcome outcome = MatchOutcome::None;
    HWND hwnd = nullptr;  // the match; nullptr otherwise
    // Every candidate, best first. For Ambiguous, the leading ones share the
    // best score.
    std::vector<WindowCandidate> candidates;
};

// Searches the whole desktop.
MatchResult FindRecordedWindow(const WindowDescriptionForm& description);
// Searches only the given windows (a test narrows the search this way).
MatchResult MatchRecordedWindow(const WindowDescriptionForm& description, const std::vector<HWND>& windows);

// Helpers the matcher is built on; they follow the agent's own rules.
std::string ComparableClassName(HWND hwnd);
HWND FrameAncestorOf(HWND hwnd, uint16_t* depth);
// The checksum the agent records for a window whose frame ancestor is frame.
int32_t TitleChecksumOf(HWND frame);
std::string ProcessImagePath(HWND hwnd);
