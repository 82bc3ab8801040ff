// The search of the saved analyses: every word typed, in any case (ASCII letters folded), must be
// found in the customer, the sales rep or the scenario. The store keeps a full-text index for it
// of each analysis's folded texts in pieces, each piece's bytes in hexadecimal: every
// three-character piece in the order they stand, each text's pieces apart from the next, and
// every one- and two-character piece once.
#pragma once

#include <string>
#include <vector>

// What the index holds of an analysis's texts.
struct SearchPieces {
    std::string threes, shorter;
};
SearchPieces SEARCHPIECES(const std::vector<std::string>& texts);

// The FTS5 query of a search, "" when it has no words: a word of three characters or more as the
// phrase of its three-character pieces, a shorter one as its piece.
std::string SEARCHQUERY(const std::string& search);
