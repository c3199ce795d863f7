// The festival's own lines. Every name, place and address here is made up;
// the web address uses the reserved .example domain.
#include "scenes/show_texts.h"

const char* const credit_line = "made by quillbert, ossamy and renfolk";
const char* const letterbox_place_line = "harrowmere docks, 14-16 july - www.quorvane.example";
const char* const outro_place_line = "harrowmere docks, 14-16 july 2006";
const char* const outro_web_line = "www.quorvane.example";
const char* const greetings_line =
    "brindlewick moskatu quellfire ondrasi tavvik pelmorin zistrel orvandel kess";
