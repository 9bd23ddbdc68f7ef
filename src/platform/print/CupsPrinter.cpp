// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/print/CupsPrinter.h"

#include "platform/posix/SignalFreeThread.h"
#include "platform/print/PdfPage.h"

#include <cups/cups.h>
#include <cups/pwg.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

namespace tintaro {

namespace {

using Steady = std::chrono::steady_clock;

// Pages waiting behind the one being sent; more only pile up while the server
// does not answer, and would fail too.
constexpr std::size_t kMaxWaitingPages = 3;
// How often a waiting request checks its page's deadline.
constexpr double kCheckSeconds = 0.1;
constexpr int kConnectMilliseconds = 5000;
constexpr auto kExitGrace = std::chrono::seconds(1);

struct Paper {
    print::PageLayout layout;
    std::string media; // the destination's own name for it, empty for the fallback
};

std::optional<Paper> paperFromMediaName(const char* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    const pwg_media_t* media = pwgMediaForPWG(name);
    if (media == nullptr) {
        media = pwgMediaForLegacy(name);
    }
    if (media == nullptr) {
        media = pwgMediaForPPD(name);
    }
    if (media == nullptr) {
        return std::nullopt;
    }
    const print::PageLayout fallback = print::fallbackPage();
    print::PageLayout layout = print::pageFromHundredthsOfMillimetre(media->width, media->length, 0, 0);
    layout.left = fallback.left;
    layout.top = fallback.top;
    return Paper{layout, name};
}

// The destination's default paper with its margins; failing that the paper it
// names; failing that A4. (cupsGetDestMediaDefault is no help here: without a
// "media" option it answers US Letter whatever the printer's default.)
Paper defaultPaper(http_t* http, cups_dest_t* dest) {
    const char* name = cupsGetOption("media", dest->num_options, dest->options);
    cups_dinfo_t* info = cupsCopyDestInfo(http, dest);
    std::string media = name != nullptr ? name : "";
    if (info != nullptr) {
        if (media.empty()) {
            if (ipp_attribute_t* fallback = cupsFindDestDefault(http, dest, info, "media")) {
                const char* text = ippGetString(fallback, 0, nullptr);
                media = text != nullptr ? text : "";
            }
        }
        cups_size_t size{};
        const bool known = !media.empty() && cupsGetDestMediaByName(http, dest, info, media.c_str(),
                                                                    CUPS_MEDIA_FLAGS_DEFAULT, &size) != 0;
        cupsFreeDestInfo(info);
        if (known && size.width > 0 && size.length > 0) {
            return {print::pageFromHundredthsOfMillimetre(size.width, size.length, size.left, size.top),
                    media};
        }
    }
    if (std::optional<Paper> named = paperFromMediaName(media.empty() ? nullptr : media.c_str())) {
        return *named;
    }
    return {print::fallbackPage(), ""};
}

std::string temporaryPdfPath() {
    const char* dir = getenv("TMPDIR");
    std::string path =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/tintaro-print-XXXXXX.pdf";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0) {
        return {};
    }
    close(fd);
    return path;
}

// Asked by libcups each time a request has waited kCheckSeconds for the
// server: go on waiting until the page's deadline, or until the program ends.
struct PageDeadline {
    Steady::time_point until;
    const std::atomic<bool>* abandon;

    static int keepWaiting(http_t*, void* self) {
        const auto* deadline = static_cast<const PageDeadline*>(self);
        return !deadline->abandon->load() && Steady::now() < deadline->until ? 1 : 0;
    }
};

// Every request of the page goes through one connection whose waits are
// bounded by the deadline.
bool sendPage(const Image& picture, PageDeadline& deadline) {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kConnectMilliseconds, nullptr);
    if (http == nullptr) {
        return false;
    }
    httpSetTimeout(http, kCheckSeconds, &PageDeadline::keepWaiting, &deadline);
    int job = 0;
    if (cups_dest_t* dest = cupsGetNamedDest(http, nullptr, nullptr)) {
        const Paper paper = defaultPaper(http, dest);
        const std::string path = temporaryPdfPath();
        if (!path.empty() && print::writePdfPage(picture, paper.layout, path)) {
            cups_option_t* options = nullptr;
            int count = 0;
            // The page is laid out already: the picture keeps its own size.
            count = cupsAddOption("print-scaling", "none", count, &options);
            count = cupsAddOption("fit-to-page", "false", count, &options);
            count = cupsAddOption("print-color-mode", "color", count, &options);
            count = cupsAddOption("copies", "1", count, &options);
            if (!paper.media.empty()) {
                count = cupsAddOption("media", paper.media.c_str(), count, &options);
            }
            job = cupsPrintFile2(http, dest->name, path.c_str(), "Tintaro", count, options);
            cupsFreeOptions(count, options);
        }
        if (!path.empty()) {
            unlink(path.c_str());
        }
        cupsFreeDests(1, dest);
    }
    httpClose(http);
    return job > 0;
}

} // namespace

struct CupsPrinter::Queue {
    explicit Queue(double pageSeconds) : pageSeconds(pageSeconds) {}

    // The thread: sends the pages in the order they came until the printer goes.
    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopping || !waiting.empty(); });
            if (waiting.empty()) {
                return;
            }
            const Image page = std::move(waiting.front());
            waiting.pop_front();
            sending = true;
            lock.unlock();
            PageDeadline deadline{Steady::now() + std::chrono::duration_cast<Steady::duration>(
                                                      std::chrono::duration<double>(pageSeconds)),
                                  &abandon};
            const bool sent = sendPage(page, deadline);
            lock.lock();
            sending = false;
            ++(sent ? pagesSent : pagesFailed);
            changed.notify_all();
        }
    }

    bool idle() const { return waiting.empty() && !sending; }

    const double pageSeconds;
    std::mutex mutex; // guards everything below but `abandon`
    std::condition_variable changed;
    std::deque<Image> waiting;
    bool sending = false;
    bool stopping = false;
    int pagesSent = 0;
    int pagesFailed = 0;
    std::atomic<bool> abandon{false};
};

CupsPrinter::CupsPrinter(double pageSeconds) : m_queue(std::make_shared<Queue>(pageSeconds)) {}

CupsPrinter::~CupsPrinter() {
    if (!m_thread.joinable()) {
        return;
    }
    std::unique_lock lock(m_queue->mutex);
    m_queue->stopping = true;
    m_queue->waiting.clear();
    m_queue->changed.notify_all();
    const bool done = m_queue->changed.wait_for(lock, kExitGrace, [&] { return m_queue->idle(); });
    m_queue->abandon = true;
    lock.unlock();
    if (done) {
        m_thread.join();
    } else {
        // A connection still being made ends within its own bound; the
        // program need not wait for it, and the thread holds its own queue.
        m_thread.detach();
    }
}

bool CupsPrinter::print(const Image& picture) {
    std::lock_guard lock(m_queue->mutex);
    if (m_queue->waiting.size() >= kMaxWaitingPages) {
        return false;
    }
    m_queue->waiting.push_back(picture);
    if (!m_thread.joinable()) {
        m_thread = startSignalFreeThread("print", [queue = m_queue] { queue->run(); });
    }
    m_queue->changed.notify_all();
    return true;
}

void CupsPrinter::waitUntilIdle() {
    std::unique_lock lock(m_queue->mutex);
    m_queue->changed.wait(lock, [&] { return m_queue->idle(); });
}

int CupsPrinter::pagesSent() const {
    std::lock_guard lock(m_queue->mutex);
    return m_queue->pagesSent;
}

int CupsPrinter::pagesFailed() const {
    std::lock_guard lock(m_queue->mutex);
    return m_queue->pagesFailed;
}

std::unique_ptr<Printer> createCupsPrinter() {
    return std::make_unique<CupsPrinter>();
}

} // namespace tintaro
