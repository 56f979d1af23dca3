#pragma once
// Stage graphics as the rest of the game calls them.

namespace dalvo {

struct Game;

void Stage_init(Game& game);
void Waku_draw(Game& game);
void Doll_preload(Game& game);

// Stage changes of a record; each returns a continuation code (0 show the message and advance).
int Place_change(Game& game);
int Doll_change(Game& game);
int Face_change(Game& game);

}  // namespace dalvo
