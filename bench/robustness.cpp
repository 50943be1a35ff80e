// Hostile records: starts the sample application, hooks it, and sends
// malformed requests of every request and every item kind -- each valid
// request cut at every byte (with garbage behind the cut), random words
// over its fields, forms of one kind sent as another, unknown kinds, text
// fields with bad markers, odd UTF-16 lengths and lengths past the view.
// Every request must be answered (as a reply or as a refused record) and
// the target must keep running.
//
//   robustness [--requests N] [--seed S] [--seeds DIR]
// --seeds DIR also writes the valid forms recorded from the sample as seed
// inputs of the native fuzz targets (tests/fuzz): DIR/item_<kind>/sample,
// DIR/agent_locator/sample-<kind> and DIR/window_description/sample-<kind>.
// One summary line: "robustness: N sent, A answered, R refused as
// documented, U unanswered, C target crashes"; exit code 0 only when U and
// C are 0.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemKindChoice.h"
#include "forms/ItemKinds.h"
#include "sample/SampleProtocol.h"

namespace {

const DWORD kAnswerMs = 3000;
const uint32_t kAwkward[] = {0, 1, 2, 3, 7, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF,
                             0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu, 4090, 4096};

// A valid request: the sub-message and the bytes behind the header word.
struct Request {
    std::string name;
    HWND target;
    UINT sub;
    std::vector<uint8_t> bytes;
    // Offsets of text fields' length words in bytes, for the text attacks.
    std::vector<size_t> textAt;
};

struct Tally {
    long sent = 0, answered = 0, refused = 0, unanswered = 0, crashes = 0;
};

std::vector<uint8_t> Bytes(const std::function<void(CWireCursor&)>& write) {
    std::vector<uint8_t> bytes(65536, 0);
    CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
    write(cursor);
    bytes.resize(cursor.Offset());
    return bytes;
}

// Offsets of the text fields inside an encoded form: where a length word is
// followed by the marker bytes 00 01 and that many printable characters.
std::vector<size_t> TextFieldsIn(const std::vector<uint8_t>& bytes, size_t from) {
    std::vector<size_t> at;
    for (size_t i = from; i + 6 <= bytes.size(); ++i) {
        uint32_t n;
        std::memcpy(&n, &bytes[i], 4);
        if (n == 0 || n > 4096 || i + 6 + n > bytes.size() || bytes[i + 4] != 0 || bytes[i + 5] != 1) continue;
        bool printable = true;
        for (size_t k = 0; k < n && printable; ++k) printable = bytes[i + 6 + k] >= 0x20;
        if (printable) at.push_back(i);
    }
    return at;
}

class CRobustness {
public:
    CRobustness(CApplicationProcess& app, CAgentClient& client, unsigned seed)
        : m_app(app), m_client(client), m_random(seed) {}

    // Valid requests for every kind, with forms recorded from the sample's
    // own windows where it has a window of that kind.
    void Collect() {
        // Every window of the sample: the frame, the windows it owns, their children.
        const std::vector<HWND> windows = WindowsOfProcess(m_app.ProcessId());
        size_t count = 0;
        const ItemKindInfo* kinds = AllItemKinds(&count);
        for (size_t k = 0; k < count; ++k) {
            const int kind = kinds[k].nCode;
            HWND window = m_app.Frame();
            for (HWND w : windows) {
                if (IsWindowVisible(w) && ChooseItemKind(w, nullptr, nullptr) == kind) window = w;
            }
            LocatorForm form;
            form.nKind = kind;
            ProbeResult probe = ProbeWindow(m_client, window, true, kind, 1, 0, kAnswerMs);
            if (probe.status == AgentStatus::Ok && probe.description.hasItem) form = probe.description.item;
            if (probe.status == AgentStatus::Ok) m_descriptions.push_back({kind, probe.raw});
            RECT r;
            GetWindowRect(window, &r);
            const std::string name = kinds[k].pszName;
            Add({name + " item-at", window, m_client.Messages().nGetItemRect, Bytes([&](CWireCursor& c) {
                     c.WriteU32(static_cast<uint32_t>(kind)).WriteI32(r.left + 5).WriteI32(r.top + 5).WriteU32(0);
                 }), {}});
            Add({name + " locate", window, m_client.Messages().nLocateItem, Bytes([&](CWireCursor& c) {
                     c.WriteU16(static_cast<uint16_t>(kind)).WriteU32(0);
                     EncodeLocatorForm(form, c);
                     c.WriteU32(0);
                 }), {}});
            Add({name + " probe", window, m_client.Messages().nInfoProbe, Bytes([&](CWireCursor& c) {
                     c.WriteU32(1).WriteU16(static_cast<uint16_t>(kind)).WriteU32(1).WriteU32(0);
                 }), {}});
            m_forms.push_back(form);
        }
        // Data messages go to the sample's controls, never to a window whose
        // loss would end the sample.
        for (HWND w : windows) {
            if (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) m_dataTargets.push_back(w);
        }
        if (m_dataTargets.empty()) m_dataTargets.push_back(m_app.Frame());
    }

    void Run(long total, Tally* tally) {
        while (tally->sent < total && m_app.IsRunning()) {
            if (m_random() % 8 == 0) {
                SendDataMessage(tally);
                continue;
            }
            const Request& request = m_requests[m_random() % m_requests.size()];
            std::vector<uint8_t> bytes = request.bytes;
            std::vector<uint8_t> tail;
            switch (m_random() % 6) {
            case 0: {  // cut at a byte, garbage behind the cut
                const size_t cut = m_random() % (bytes.size() + 1);
                bytes.resize(cut);
                tail.assign(64, 0xA5);
                break;
            }
            case 1:  // awkward words over the fields
                for (int n = 1 + m_random() % 3; n > 0 && bytes.size() >= 4; --n) {
                    const uint32_t word = Word();
                    std::memcpy(&bytes[m_random() % (bytes.size() - 3)], &word, 4);
                }
                break;
            case 2:  // a form of another kind, or a kind that is none
                if (request.sub == m_client.Messages().nLocateItem && bytes.size() >= 2) {
                    const uint16_t kind = (m_random() % 3) ? static_cast<uint16_t>(AnyKind()) : static_cast<uint16_t>(m_random());
                    std::memcpy(&bytes[0], &kind, 2);
                } else if (bytes.size() >= 4) {
                    const uint32_t kind = AnyKind();
                    std::memcpy(&bytes[0], &kind, 4);
                }
                break;
            case 3:  // text fields with bad markers, odd UTF-16 lengths, lengths past the view
                if (!request.textAt.empty()) {
                    const size_t at = request.textAt[m_random() % request.textAt.size()];
                    const uint32_t lengths[] = {Word(), 0x7FFFFFFF, 0xFFFFFFFF, 3, 65536};
                    const uint32_t n = lengths[m_random() % 5];
                    std::memcpy(&bytes[at], &n, 4);
                    bytes[at + 4] = static_cast<uint8_t>(m_random() % 3);
                    bytes[at + 5] = static_cast<uint8_t>(m_random() % 4);
                }
                break;
            case 4:  // noise after the header
                for (uint8_t& b : bytes) b = static_cast<uint8_t>(m_random());
                break;
            default:  // the valid request itself
                break;
            }
            Send(request, bytes, tail, tally);
        }
        if (!m_app.IsRunning()) ++tally->crashes;
    }

    size_t Requests() const { return m_requests.size(); }

    // The recorded forms and descriptions as fuzz seeds; false when a file
    // could not be written.
    bool WriteSeeds(const std::string& folder) const {
        size_t count = 0;
        const ItemKindInfo* kinds = AllItemKinds(&count);
        bool ok = true;
        for (size_t k = 0; k < m_forms.size() && k < count; ++k) {
            std::string name = kinds[k].pszName;
            std::replace(name.begin(), name.end(), '-', '_');
            const std::vector<uint8_t> form = Bytes([&](CWireCursor& c) { EncodeLocatorForm(m_forms[k], c); });
            ok = SaveSeed(folder, "item_" + name, "sample", form) && ok;
            // The agent-side target takes the kind's place in the registry first.
            std::vector<uint8_t> located(1, static_cast<uint8_t>(k));
            located.insert(located.end(), form.begin(), form.end());
            ok = SaveSeed(folder, "agent_locator", "sample-" + name, located) && ok;
        }
        for (const auto& description : m_descriptions) {
            ok = SaveSeed(folder, "window_description", "sample-" + ItemKindName(description.first),
                          description.second) && ok;
        }
        return ok;
    }

    // A data-message command with awkward arguments, cut short at times.
    // Commands 0 to 2 send the message named by the first argument: only
    // messages that change nothing are named, so that the sample's own
    // windows stay as they are (a WM_CLOSE would be a test of the sample).
    void SendDataMessage(Tally* tally) {
        static const uint32_t kHarmless[] = {WM_NULL, WM_GETTEXTLENGTH, WM_GETFONT, WM_GETDLGCODE, 0x1004 /* item count */};
        const uint16_t code = (m_random() % 4) ? static_cast<uint16_t>(m_random() % 12) : static_cast<uint16_t>(Word());
        const uint32_t p1 = code <= 2 ? kHarmless[m_random() % 5] : Word();
        Request request = {"data message " + std::to_string(code), m_dataTargets[m_random() % m_dataTargets.size()],
                           m_client.Messages().nDataMessage, Bytes([&](CWireCursor& c) {
                               c.WriteU32(p1).WriteU32(Word()).WriteU32(Word()).WriteU16(code);
                           }), {}};
        std::vector<uint8_t> bytes = request.bytes;
        if (m_random() % 3 == 0) bytes.resize(m_random() % (bytes.size() + 1));
        Send(request, bytes, std::vector<uint8_t>(16, 0xA5), tally);
    }

private:
    static bool SaveSeed(const std::string& folder, const std::string& target, const std::string& name,
                         const std::vector<uint8_t>& bytes) {
        const std::string targetFolder = folder + "\\" + target;
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA(targetFolder.c_str(), nullptr);
        FILE* file = std::fopen((targetFolder + "\\" + name).c_str(), "wb");
        if (!file) return false;
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && ok;
    }

    void Add(Request request) {
        request.textAt = TextFieldsIn(request.bytes, 0);
        m_requests.push_back(request);
    }

    uint32_t Word() {
        return (m_random() & 1) ? kAwkward[m_random() % (sizeof(kAwkward) / sizeof(kAwkward[0]))]
                                : static_cast<uint32_t>(m_random());
    }

    uint32_t AnyKind() {
        size_t count = 0;
        const ItemKindInfo* kinds = AllItemKinds(&count);
        return (m_random() % 4) ? static_cast<uint32_t>(kinds[m_random() % count].nCode) : Word();
    }

    void Send(const Request& request, const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& tail,
              Tally* tally) {
        CWireCursor w = m_client.BeginRequest(kAnswerMs);
        w.WriteBytes(bytes.data(), bytes.size());
        // Garbage behind a cut request, where the agent's reads run on.
        CWireCursor(m_client.View() + w.Offset(), m_client.View() + m_client.RecordSize())
            .WriteBytes(tail.data(), std::min(tail.size(), m_client.RecordSize() - w.Offset()));
        ++tally->sent;
        CWireCursor reply;
        const AgentStatus status = m_client.Send(request.target, request.sub, 0, w, &reply, kAnswerMs);
        switch (status) {
        case AgentStatus::Ok:
        case AgentStatus::NotProcessed: ++tally->answered; break;
        case AgentStatus::Overrun: ++tally->refused; break;
        case AgentStatus::BadRequest: --tally->sent; break;  // did not fit this side's record: never sent
        default:
            ++tally->unanswered;
            std::fprintf(stderr, "robustness: %s: %s\n", request.name.c_str(), AgentStatusText(status));
            break;
        }
    }

    CApplicationProcess& m_app;
    CAgentClient& m_client;
    std::mt19937 m_random;
    std::vector<Request> m_requests;
    std::vector<LocatorForm> m_forms;
    std::vector<std::pair<int, std::vector<uint8_t>>> m_descriptions;  // kind, the probe's description
    std::vector<HWND> m_dataTargets;
};

}  // namespace

int main(int argc, char** argv) {
    long requests = 100000;
    unsigned seed = 1;
    std::string seedFolder;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--requests") == 0) requests = std::atol(argv[i + 1]);
        if (std::strcmp(argv[i], "--seed") == 0) seed = static_cast<unsigned>(std::atol(argv[i + 1]));
        if (std::strcmp(argv[i], "--seeds") == 0) seedFolder = argv[i + 1];
    }
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--items 100 --no-dialog", sample::kFrameClass, &error)) {
        std::fprintf(stderr, "robustness: %s\n", error.c_str());
        return 1;
    }
    CAgentClient client;
    // One page: lengths read from the garbage run into the view's end.
    if (!client.Open(&error, 4096)) {
        std::fprintf(stderr, "robustness: %s\n", error.c_str());
        return 1;
    }
    HookReport hook = client.Hook(app.Frame());
    if (!hook) {
        std::fprintf(stderr, "robustness: %s\n", hook.error.c_str());
        return 1;
    }
    CRobustness robustness(app, client, seed);
    robustness.Collect();
    if (!seedFolder.empty() && !robustness.WriteSeeds(seedFolder)) {
        std::fprintf(stderr, "robustness: cannot write the seeds into %s\n", seedFolder.c_str());
        return 1;
    }
    Tally tally;
    robustness.Run(requests, &tally);
    std::printf("robustness: %ld sent, %ld answered, %ld refused as documented, %ld unanswered, %ld target crashes "
                "(%zu request shapes)\n",
                tally.sent, tally.answered, tally.refused, tally.unanswered, tally.crashes, robustness.Requests());
    return tally.unanswered == 0 && tally.crashes == 0 ? 0 : 1;
}
