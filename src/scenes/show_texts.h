// The festival's own lines that the title, the letterbox frame and the
// closing scene show: credits, place and date, web address, greetings.
#pragma once

// Under the title in the intro.
extern const char* const credit_line;
// Second line of the letterbox frame's bottom bar.
extern const char* const letterbox_place_line;
// The outro's place-and-date line and its web-address line.
extern const char* const outro_place_line;
extern const char* const outro_web_line;
// Blank-separated names scrolling through the outro's top bar.
extern const char* const greetings_line;
