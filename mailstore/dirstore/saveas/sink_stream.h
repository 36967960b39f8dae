#pragma once
// A GMime stream whose bytes go to a ByteSink as GMime writes them.

#include <gmime/gmime.h>

#include <functional>

#include "mailstore/dirstore/saveas/byte_source.h"

namespace qs::dirstore {

// Calls write with a stream that hands what is written to it to sink in
// pieces. An exception the sink throws ends the writing and comes out of
// this call once GMime has returned.
void WriteThroughSink(const ByteSink& sink, const std::function<void(GMimeStream*)>& write);

}  // namespace qs::dirstore
