#pragma once
// Errors of requests that the run cannot go on without: the server answered
// with an error status, or the notebook that "/N" names does not exist.
#include "Platform/Console/Error.hpp"

namespace JoplinRestUtils {

// The message names the request and the HTTP status; never the token.
class ERequestRefused : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "ERequestRefused"; }
};

// A list that never ends: the server keeps saying "has_more".
class EEndlessPaging : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EEndlessPaging"; }
};

// A note named for adding to that is not there (or is in the trash).
class ENoteNotFound : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "ENoteNotFound"; }
};

// Markdown text for an HTML note, or the other way round.
class EMarkupMismatch : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EMarkupMismatch"; }
};

class ENotebookNotFound : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "ENotebookNotFound"; }
};

}  // namespace JoplinRestUtils
