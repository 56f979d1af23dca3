#pragma once
// Title screen, calendar, day loop and level display as the engine calls them.

namespace dalvo {

struct Game;

// Window load: prepares and shows the title screen.
void Title_disp(Game& game);
// Script "g1": starts the next half-day.
void New_days(Game& game);
// Script "g9": shows the parameter graph.
void Graph_disp(Game& game);
// After a load: restores the day-start record and resumes the script.
void Continue_game(Game& game);

}  // namespace dalvo
