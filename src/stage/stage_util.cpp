#include "stage/stage_util.h"

#include <algorithm>

#include "engine/game.h"
#include "engine/startup.h"
#include "platform/gfx/picture.h"

namespace dalvo {

void size_surface(platform::Control& c, int w, int h) { c.move(c.left, c.top, w, h); }

void clear_surface(platform::Control& c) {
    c.image.back_color = c.back_color;
    c.image.clear();
}

platform::Surface read_picture(Game& game, const std::string& file_name) {
    platform::Surface picture;
    std::string error;
    if (!platform::load_picture(game.data.path(file_name), picture, error)) {
        data_fault(game, "画像ファイルを読み込めません.\n" + game.data.shown(file_name).string());
    }
    return picture;
}

void take_part(platform::Control& c, const platform::Surface& picture, int x, int y, int w, int h) {
    x = std::clamp(x, 0, picture.width());
    y = std::clamp(y, 0, picture.height());
    w = std::clamp(w, 0, picture.width() - x);
    h = std::clamp(h, 0, picture.height() - y);
    c.move(c.left, c.top, w, h);
    platform::bit_blt(c.image, 0, 0, w, h, picture, x, y, platform::Rop::SrcCopy);
}

void load_surface(Game& game, platform::Control& c, const std::string& file_name) {
    take_part(c, read_picture(game, file_name), 0, 0, kWindowWidth, kWindowHeight);
}

void load_frame_picture(Game& game, platform::Control& c, const std::string& file_name) {
    platform::Surface picture;
    std::string error;
    if (!platform::load_picture(game.data.path(file_name), picture, error)) {
        if (game.stage.frame_picture_error.empty()) {
            game.stage.frame_picture_error = game.data.shown(file_name).string();
        }
        return;
    }
    take_part(c, picture, 0, 0, kWindowWidth, kWindowHeight);
}

void report_frame_pictures(Game& game) {
    if (!game.stage.frame_picture_error.empty()) {
        data_fault(game, "画像ファイルを読み込めません.\n" + game.stage.frame_picture_error);
    }
}

}  // namespace dalvo
