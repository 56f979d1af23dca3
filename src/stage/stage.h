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

// Hides sprite slot `g_DollSlot` - 1 with the effect named by `g_Effect`.
void DollEffect(Game& game);

// Brings `Pic_Main` to `Pic_Back` with the transition named by `g_Effect`, or applies
// the colour filter it names to the background area.
void PlaceEffect(Game& game);

}  // namespace dalvo
