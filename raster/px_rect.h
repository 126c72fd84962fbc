// A rectangle in bitmap pixels; right and bottom are exclusive.
#pragma once

struct PX_Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
