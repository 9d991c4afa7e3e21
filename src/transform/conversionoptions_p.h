// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: how the engine departs from the plain conversion.
#ifndef GLYPHMORPH_CONVERSIONOPTIONS_P_H
#define GLYPHMORPH_CONVERSIONOPTIONS_P_H

/** The departures from the plain conversion that a caller may ask for; see Glyphmorpher's
 *  ConversionOption for what each means to the caller. */
struct ConversionOptions
{
    /** Escape the text and write each image with its code in alt and title. */
    bool roundTrip = false;
    /** Replace a code only where no letter, number (any Unicode number) or combining mark goes on
     * after it. */
    bool strictCodeEnds = false;
    /** Write the Unicode emoji a code stands for in place of its image, where it has one. */
    bool emojiText = false;

    bool isDefault() const { return !roundTrip && !strictCodeEnds && !emojiText; }
};

#endif
