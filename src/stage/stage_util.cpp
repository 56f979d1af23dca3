#include "stage/stage_util.h"

#include "engine/game.h"
#include "engine/startup.h"
#include "platform/gfx/picture.h"

namespace dalvo {

void size_surface(platform::Control& c, int w, int h) { c.move(c.left, c.top, w, h); }

void clear_surface(platform::Control& c) {
    c.image.back_color = c.back_color;
    c.image.clear();
}

void load_surface(Game& game, platform::Control& c, const std::string& file_name) {
    const std::filesystem::path file = game.g_DataPath / file_name;
    platform::Surface picture;
    std::string error;
    if (!platform::load_picture(file, picture, error)) {
        data_fault(game, "画像ファイルを読み込めません.\n" + file.string());
    }
    c.move(c.left, c.top, picture.width(), picture.height());
    platform::bit_blt(c.image, 0, 0, picture.width(), picture.height(), picture, 0, 0,
                      platform::Rop::SrcCopy);
}

void load_frame_picture(Game& game, platform::Control& c, const std::string& file_name) {
    const std::filesystem::path file = game.g_DataPath / file_name;
    platform::Surface picture;
    std::string error;
    if (!platform::load_picture(file, picture, error)) {
        if (game.stage.frame_picture_error.empty()) game.stage.frame_picture_error = file.string();
        return;
    }
    c.move(c.left, c.top, picture.width(), picture.height());
    platform::bit_blt(c.image, 0, 0, picture.width(), picture.height(), picture, 0, 0,
                      platform::Rop::SrcCopy);
}

void report_frame_pictures(Game& game) {
    if (!game.stage.frame_picture_error.empty()) {
        data_fault(game, "画像ファイルを読み込めません.\n" + game.stage.frame_picture_error);
    }
}

}  // namespace dalvo
