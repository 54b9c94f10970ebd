// The resource-wrapped form: one RCDATA resource, named after the root class
// in upper case, whose data is the binary form stream. Written with the
// 16-bit resource header for an ASCII class name and in the 32-bit resource
// file format otherwise; both are read.
#pragma once

#include "rtl/streams.h"

// Moves the stream from the start of a wrapped form to the first byte of its
// binary form stream. Raises EInvalidImage "Invalid stream format" for a
// header it does not recognise, leaving the stream where the failed read ended.
void ReadResHeader(TStream& stream);

// The text form of a wrapped form, appended to the output.
void FormResourceToText(TStream& input, TStream& output);

// Converts the text form and appends the wrapped binary form stream to the
// output. Nothing reaches the output when the conversion fails or the root
// class name has more than 64 characters (EParserError "Component name '%s'
// exceeds 64 character limit").
void FormTextToResource(TStream& input, TStream& output);
