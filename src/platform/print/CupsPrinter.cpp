#include "platform/print/CupsPrinter.h"

#include "platform/print/PdfPage.h"

#include <cups/cups.h>
#include <cups/pwg.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace tintaro {

namespace {

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
Paper defaultPaper(cups_dest_t* dest) {
    const char* name = cupsGetOption("media", dest->num_options, dest->options);
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    std::string media = name != nullptr ? name : "";
    if (info != nullptr) {
        if (media.empty()) {
            if (ipp_attribute_t* fallback = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media")) {
                const char* text = ippGetString(fallback, 0, nullptr);
                media = text != nullptr ? text : "";
            }
        }
        cups_size_t size{};
        const bool known =
            !media.empty() && cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, media.c_str(),
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

class CupsPrinter final : public Printer {
  public:
    bool print(const Image& picture) override {
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
        if (dest == nullptr) {
            return false;
        }
        const Paper paper = defaultPaper(dest);
        const std::string path = temporaryPdfPath();
        int job = 0;
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
            job = cupsPrintFile(dest->name, path.c_str(), "Tintaro", count, options);
            cupsFreeOptions(count, options);
        }
        if (!path.empty()) {
            unlink(path.c_str());
        }
        cupsFreeDests(1, dest);
        return job > 0;
    }
};

} // namespace

std::unique_ptr<Printer> createCupsPrinter() {
    return std::make_unique<CupsPrinter>();
}

} // namespace tintaro
