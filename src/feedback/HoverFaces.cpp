#include "feedback/HoverFaces.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tintaro {

namespace {

using C = ControlId;

struct Faces {
    const char* resting;
    const char* hover;
};

// The two faces of a button; the speaker's and the music button's follow
// their switches, and for any other flag value they have none.
std::optional<Faces> facesOf(const SceneContext& f, ControlId id) {
    switch (id) {
    case C::MoreImages:
        return Faces{"MOREIMAGES1.JPG", "MOREIMAGES2.JPG"};
    case C::Rubber:
        return Faces{"GUMICA1.JPG", "GUMICA2.JPG"};
    case C::Papir:
        return Faces{"PAPIR1.JPG", "PAPIR2.JPG"};
    case C::Back:
        return Faces{"BACK1.JPG", "BACK2.JPG"};
    case C::Da:
        return Faces{"YES1.JPG", "YES2.JPG"};
    case C::Ne:
        return Faces{"NO1.JPG", "NO2.JPG"};
    case C::Zatvori:
        return Faces{"CLOSE1.JPG", "CLOSE2.JPG"};
    case C::Firma:
        return Faces{"CTRLR5821.JPG", "CTRLR5822.JPG"};
    case C::visit_site:
        return Faces{"VISIT1.JPG", "VISIT2.JPG"};
    case C::MuteWave:
        if (f.state.SoundOnFlag == 1)
            return Faces{"ZVUCNIK1.JPG", "ZVUCNIK2.JPG"};
        if (f.state.SoundOnFlag == 0)
            return Faces{"SOUNDOFF2.JPG", "SOUNDOFF1.JPG"};
        return std::nullopt;
    case C::MusicOn:
        if (f.state.MusicOnFlag == 0)
            return Faces{"MUZIKA1.JPG", "MUZIKA2.JPG"};
        if (f.state.MusicOnFlag == 1)
            return Faces{"MUSICOFF2.JPG", "MUSICOFF1.JPG"};
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

enum class Op { Rest, Hover, RestPalette, RestHighlightedThumbnail };

struct Step {
    Op op;
    ControlId id = C::Slika;
};

Step rest(ControlId id) {
    return {Op::Rest, id};
}
Step hover(ControlId id) {
    return {Op::Hover, id};
}

// Assigns the faces one after another; the first that cannot be read ends the handler.
void run(SceneContext& f, std::span<const Step> steps) {
    for (const auto& step : steps) {
        switch (step.op) {
        case Op::Rest:
        case Op::Hover:
            if (auto faces = facesOf(f, step.id)) {
                f.scene.assignPicture(step.id,
                                      picturePath(step.op == Op::Rest ? faces->resting : faces->hover));
            }
            break;
        case Op::RestPalette:
            callHook(f.hooks.restPalette);
            break;
        case Op::RestHighlightedThumbnail:
            if (f.state.GalleryActive == 1) {
                callHook(f.hooks.restHighlightedThumbnail);
            }
            break;
        }
    }
}

void moveOverBackground(SceneContext& f) {
    const Step steps[] = {rest(C::MoreImages), {Op::RestPalette}, rest(C::Rubber),
                          rest(C::Papir),      rest(C::Back),     {Op::RestHighlightedThumbnail},
                          rest(C::MuteWave),   rest(C::MusicOn)};
    run(f, steps);
}

void onMove(SceneContext& f, ControlId id, std::vector<Step> steps) {
    f.handlers[id].mouseMove = [&f, steps = std::move(steps)](const MouseArgs&) { run(f, steps); };
}

} // namespace

void restAroundCanvas(SceneContext& f) {
    const Step steps[] = {rest(C::MoreImages), rest(C::Rubber), rest(C::Papir), rest(C::MuteWave),
                          rest(C::MusicOn)};
    run(f, steps);
}

void registerHoverFaces(SceneContext& f) {
    f.hooks.restAroundCanvas = [&f] { restAroundCanvas(f); };
    f.handlers.window.mouseMove = [&f](const MouseArgs&) { moveOverBackground(f); };
    onMove(f, C::MoreImages, {hover(C::MoreImages), rest(C::Rubber), rest(C::Papir), rest(C::MuteWave)});
    onMove(f, C::MuteWave, {hover(C::MuteWave), rest(C::Rubber), rest(C::Papir)});
    onMove(f, C::MusicOn, {hover(C::MusicOn), rest(C::Rubber), rest(C::Papir), rest(C::MuteWave)});
    onMove(f, C::Rubber, {hover(C::Rubber), rest(C::Papir)});
    onMove(f, C::Papir, {hover(C::Papir), rest(C::Rubber)});
    onMove(f, C::Back, {hover(C::Back)});
    onMove(f, C::Izlaz, {rest(C::Da), rest(C::Ne)});
    onMove(f, C::Da, {hover(C::Da)});
    onMove(f, C::Ne, {hover(C::Ne)});
    onMove(f, C::Registered, {rest(C::Zatvori), rest(C::Firma), rest(C::visit_site)});
    onMove(f, C::Zatvori, {hover(C::Zatvori)});
    onMove(f, C::Firma, {hover(C::Firma)});
    onMove(f, C::visit_site, {hover(C::visit_site)});
}

} // namespace tintaro
