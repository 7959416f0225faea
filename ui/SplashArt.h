// The program's own splash picture: its name and version on a rounded card with a sketch of a
// self-potential profile, round which lies the green key colour that the shaped splash cuts away. No pixel
// of the card has red and blue both 0, so a tolerance of clGreen cuts exactly the outside.
#pragma once

#include <string>

class TBitmap;

// The resource name of the picture ("VORNSP2DP_SPLASH"), registered with the bitmap resources.
extern const std::string SplashArtResource;
// Draws the 300 x 200 picture.
void DrawSplashArt(TBitmap& into);
// Registers the resource (once).
void RegisterSplashArt();
