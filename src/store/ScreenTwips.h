#pragma once

// Twips (1/1440 inch) per pixel of the primary screen: 15 at 96 dpi. Window rectangles in
// "nolt.ini" and the panel's control positions are kept in twips.
struct ScreenTwips
{
    double x = 15.0;
    double y = 15.0;

    // From the primary screen's logical dpi; 15 x 15 when there is no screen.
    static ScreenTwips primary();
};
