// Failures of the grid tables beyond the invalid-entry error (EAssignError).
#pragma once

#include "model/Exceptions.h"

namespace korvan {

// A grid-table failure with no more specific class (row limits, controls).
class ETableError : public EKorvanError {
 public:
  using EKorvanError::EKorvanError;
};

// A typed accessor used on a column of another kind ("Data of wrong type").
class EInvalidCast : public EKorvanError {
 public:
  using EKorvanError::EKorvanError;
};

// An index outside a list ("Index out of bounds").
class EListError : public EKorvanError {
 public:
  using EKorvanError::EKorvanError;
};

// A column definition stream that cannot be read.
class EReadError : public EKorvanError {
 public:
  using EKorvanError::EKorvanError;
};

}  // namespace korvan
