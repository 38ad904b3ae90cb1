#pragma once

#include "model/TestData.h"

#include <QLatin1StringView>
#include <QString>

// The listing the checking page writes so the teacher can look over the typed data: the key, then
// one line per examinee with the identifier and, from the next print zone on, the answers. Names
// are not listed.
inline constexpr QLatin1StringView InputListingFileName("InputData.doc");

// The whole listing, every line ended by CR LF.
QString composeInputListing(const TestData& data);
