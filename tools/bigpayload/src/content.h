// The bytes of one payload file: blocks of random, repetitive, record-like and text-like data in
// a mix that depends on the file's kind, so the whole payload compresses about as the shipped one.
#pragma once

#include <ostream>

#include "layout.h"
#include "random.h"

namespace bigpayload {

// Writes exactly spec.size bytes; the same spec and generator state give the same bytes.
void WriteContent(std::ostream& out, const FileSpec& spec, Random& random);

}  // namespace bigpayload
