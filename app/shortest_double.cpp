#include "app/shortest_double.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zorvex {

namespace {

// `value` printed with `digits` significant digits in %e form; true when it reads back exactly.
bool Round_Trips(double value, int digits, char* out, std::size_t size) {
  std::snprintf(out, size, "%.*e", digits - 1, value);
  return std::strtod(out, nullptr) == value;
}

// Among the candidates one unit away in the last digit, one that reads back exactly (the
// correctly rounded form can miss where the gap to the next double changes, at powers of two).
bool Neighbour_Round_Trips(double value, char* out, std::size_t size) {
  char* e = std::strchr(out, 'e');
  std::string mantissa(out, e);
  std::string exponent(e);
  for (int step : {+1, -1}) {
    std::string m = mantissa;
    int i = static_cast<int>(m.size()) - 1;
    // A carry out of the first digit, or a borrow down to a leading zero, would change the
    // exponent; such a candidate is left out.
    while (i >= 0) {
      if (m[i] == '.' || m[i] == '-') {
        --i;
        continue;
      }
      if (step > 0 && m[i] == '9') {
        m[i--] = '0';
        continue;
      }
      if (step < 0 && m[i] == '0') {
        m[i--] = '9';
        continue;
      }
      m[i] = static_cast<char>(m[i] + step);
      break;
    }
    const std::size_t lead = m[0] == '-' ? 1 : 0;
    if (i < 0 || m[lead] == '0') continue;
    std::string candidate = m + exponent;
    if (std::strtod(candidate.c_str(), nullptr) == value) {
      std::snprintf(out, size, "%s", candidate.c_str());
      return true;
    }
  }
  return false;
}

}  // namespace

std::string Shortest_Double(double value) {
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  char buffer[40];
  int exponent2;
  if (std::frexp(std::fabs(value), &exponent2) == 0.5) {
    // A power of two: the gap below is half the gap above, so the nearest form with some number
    // of digits can miss where a neighbour of it reads back. Try each length in turn.
    int digits = 1;
    for (; digits < 17; ++digits) {
      if (Round_Trips(value, digits, buffer, sizeof(buffer))) break;
      if (Neighbour_Round_Trips(value, buffer, sizeof(buffer))) break;
    }
    if (digits == 17) Round_Trips(value, 17, buffer, sizeof(buffer));
  } else {
    // Elsewhere the nearest form reads back from some length on: find the least by halving.
    int low = 1, high = 17;
    while (low < high) {
      const int mid = (low + high) / 2;
      if (Round_Trips(value, mid, buffer, sizeof(buffer)))
        high = mid;
      else
        low = mid + 1;
    }
    Round_Trips(value, low, buffer, sizeof(buffer));
  }

  // Split "-d.ddde+XX" into sign, significant digits and the decimal exponent.
  const bool negative = buffer[0] == '-';
  std::string significand;
  const char* p = buffer + (negative ? 1 : 0);
  for (; *p != 'e'; ++p)
    if (*p != '.') significand += *p;
  const int exponent = std::atoi(p + 1);
  while (significand.size() > 1 && significand.back() == '0') significand.pop_back();
  const int n = static_cast<int>(significand.size());

  std::string fixed;
  if (exponent >= n - 1) {
    // A whole number is written with all its digits, exactly.
    char whole[320];
    std::snprintf(whole, sizeof(whole), "%.0f", std::fabs(value));
    fixed = whole;
  } else if (exponent >= 0) {
    fixed = significand;
    fixed.insert(static_cast<std::size_t>(exponent) + 1, 1, '.');
  } else {
    fixed = "0.";
    fixed.append(static_cast<std::size_t>(-exponent - 1), '0');
    fixed += significand;
  }
  std::string scientific = significand;
  if (n > 1) scientific.insert(1, 1, '.');
  char tail[16];
  std::snprintf(tail, sizeof(tail), "e%c%02d", exponent < 0 ? '-' : '+',
                exponent < 0 ? -exponent : exponent);
  scientific += tail;

  std::string shorter = scientific.size() < fixed.size() ? scientific : fixed;
  if (negative) shorter.insert(0, 1, '-');
  return shorter;
}

}  // namespace zorvex
