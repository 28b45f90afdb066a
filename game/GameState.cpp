#include "game/GameState.h"

TGameState GameState;
