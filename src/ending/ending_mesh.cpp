// The ending's mesh dissolves and the small helpers its steps share.

#include <filesystem>

#include "ending/ending_internal.h"
#include "engine/game.h"
#include "platform/gfx/picture.h"
#include "platform/pacing.h"
#include "stage/mesh.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

using platform::Rop;
using platform::Surface;

struct DissolvePlan {
    const char* name;
    Surface* target;
    platform::Control* target_control;  // nullptr: the window's own surface
    const Surface* source;
    int last_x, last_y;  // the last cell's corner
    int last_stage;
    int final_w, final_h;  // the plain copy afterwards; 0: none
};

DissolvePlan plan_of(Game& game, EndingDissolve which) {
    MainForm& ui = game.ui;
    Surface* window = &ui.form.image;
    switch (which) {
    case EndingDissolve::ScreenToBlack:
        return {"A", window, nullptr, &ui.Place_Load->image, 608, 448, 8, 640, 480};
    case EndingDissolve::PageIn:
        return {"B", &ui.Pic_Main->image, ui.Pic_Main, &ui.Place_Load->image, 418, 48, 9, 0, 0};
    case EndingDissolve::PageOut:
        return {"C", &ui.Pic_Main->image, ui.Pic_Main, &ui.Place_Load->image, 418, 48, 9, 0, 0};
    case EndingDissolve::FinalPicture1:
        return {"D", window, nullptr, &ui.Form_Back->image, 608, 448, 8, 640, 480};
    case EndingDissolve::FinalPicture2:
        return {"E", &ui.Pic_Main->image, ui.Pic_Main, &ui.Place_Load->image, 608, 288, 8, 640, 320};
    }
    return {};
}

void show(Game& game, const DissolvePlan& plan) {
    if (plan.target_control != nullptr) {
        plan.target_control->refresh();
    } else {
        refresh_window(game);
    }
}

}  // namespace

void Ending_dissolve(Game& game, EndingDissolve which) {
    const DissolvePlan plan = plan_of(game, which);
    MainForm& ui = game.ui;
    game.p.trace.event("effect", {{"code", "MS"}, {"ending", plan.name}, {"phase", "start"}});
    size_surface(*ui.Mesh2, kMeshCell, kMeshCell);
    Surface& tile = ui.Mesh2->image;
    const Surface& mesh = ui.Mesh1->image;
    for (int k = 0; k <= plan.last_stage; ++k) {
        game.frame.start();
        for (int x = 0; x <= plan.last_x; x += kMeshCell) {
            for (int y = 0; y <= plan.last_y; y += kMeshCell) {
                platform::bit_blt(tile, 0, 0, kMeshCell, kMeshCell, *plan.source, x, y, Rop::SrcCopy);
                platform::bit_blt(tile, 0, 0, kMeshCell, kMeshCell, mesh, kMeshCell * k, kMeshCell,
                                  Rop::SrcAnd);
                platform::bit_blt(*plan.target, x, y, kMeshCell, kMeshCell, mesh, kMeshCell * k, 0,
                                  Rop::SrcAnd);
                platform::bit_blt(*plan.target, x, y, kMeshCell, kMeshCell, tile, 0, 0,
                                  Rop::SrcInvert);
            }
        }
        show(game, plan);
        // Each stage lasts 100 ms from its start.
        platform::yield_until(game.p.host, [&] { return game.frame.elapsed() >= 100; }, 50);
    }
    if (plan.final_w > 0) {
        platform::bit_blt(*plan.target, 0, 0, plan.final_w, plan.final_h, *plan.source, 0, 0,
                          Rop::SrcCopy);
        show(game, plan);
    }
    game.p.trace.event("effect", {{"code", "MS"}, {"ending", plan.name}, {"phase", "end"}});
}

void refresh_window(Game& game) {
    game.ui.form.image.refresh();
}

bool load_ending_picture(Game& game, const std::string& file_name) {
    platform::Control& load = *game.ui.Place_Load;
    Surface picture;
    std::string error;
    if (!platform::load_picture(game.data.path(file_name), picture, error)) {
        game.p.trace.event("ending", {{"skip", file_name}, {"error", error}});
        load.move(load.left, load.top, 640, 320);
        clear_surface(load);
        return false;
    }
    take_part(load, picture, 0, 0, kWindowWidth, kWindowHeight);
    load.image.back_color = load.back_color;
    load.refresh();
    game.p.trace.event("ending", {{"picture", file_name}});
    return true;
}

}  // namespace dalvo
