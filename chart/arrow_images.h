#pragma once
// How the chart loader gets the picture reference of each arrow record. Image
// loading installs a lookup for the current skin; until then (and in tools and
// tests) every reference is none. The loader never loads pictures itself.
class Image;

// colourClass: 0 on the beat, 1 half beat, 2 other; column: the record's column
// (0..5, or 6..9 for the right pad of DOUBLE); freeze: the freeze picture of the column.
using ArrowImageLookup = const Image* (*)(int colourClass, int column, bool freeze);

// `colourSets` is the number of arrow colour sets the skin provides; with fewer
// than two every arrow is drawn with the class 0 picture.
void ArrowImages_Install(ArrowImageLookup lookup, int colourSets);
void ArrowImages_Reset();          // back to no pictures
int ArrowImages_ColourSets();
const Image* ArrowImages_Get(int colourClass, int column, bool freeze);
