#pragma once
// The games the screen driver starts from the title menu that end on the song
// wheel's stages: the arcade game and the attract demo; and what follows each
// song of a game.
struct Play;

// Style select, profile select (with "User Profiles" on), then stages until the
// game ends; the players' profiles are put away at the end.
void ArcadeGame();
// One unattended play of a random song, both players on SINGLE under autoplay.
void AttractDemo();
// The play's afterSong: the evaluation after a stage, the game-over screen after
// a lost game, the credits after the last stage of a game that was not lost.
// A song of a course passes on whether the game ended: the nonstop game shows
// the course's evaluation when the course is over.
int AfterSong(Play& play, bool gameEnds);
