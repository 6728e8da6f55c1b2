#pragma once
// The credits that close a game that was not lost: the credits text scrolling
// over a column of song backgrounds while a random song plays, then the closing
// message, then a fade to black.
void CreditsScreen();
