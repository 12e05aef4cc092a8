-- Twin of shapes.prg: method calls over objects of four classes with inheritance.
local Shape = {}
Shape.__index = Shape
function Shape:move(dx, dy) self.x = self.x + dx; self.y = self.y + dy; return self end
function Shape:area() return 0 end
function Shape:weight() return self:area() * 2 + 1 end
function Shape:grow(n) return nil end

local Dot = setmetatable({}, {__index = Shape})
Dot.__index = Dot
function Dot.new(x, y) return setmetatable({x = x, y = y}, Dot) end

local Rect = setmetatable({}, {__index = Shape})
Rect.__index = Rect
function Rect.init(self, x, y, w, h) self.x = x; self.y = y; self.w = w; self.h = h; return self end
function Rect.new(x, y, w, h) return Rect.init(setmetatable({}, Rect), x, y, w, h) end
function Rect:area() return self.w * self.h end
function Rect:grow(n) self.w = self.w + n; self.h = self.h + n; return self end

local Square = setmetatable({}, {__index = Rect})
Square.__index = Square
function Square.new(x, y, side) return Rect.init(setmetatable({}, Square), x, y, side, side) end

local Frame = setmetatable({}, {__index = Rect})
Frame.__index = Frame
function Frame.new(x, y, w, h, border)
  local o = Rect.init(setmetatable({}, Frame), x, y, w, h)
  o.border = border
  return o
end
function Frame:area()
  return Rect.area(self) - (self.w - 2 * self.border) * (self.h - 2 * self.border)
end

local shapes = {}
for i = 1, 100 do
  local m = i % 4
  if m == 0 then shapes[#shapes + 1] = Rect.new(i, 0, 2, 3)
  elseif m == 1 then shapes[#shapes + 1] = Square.new(0, i, 4)
  elseif m == 2 then shapes[#shapes + 1] = Frame.new(i, i, 6, 5, 1)
  else shapes[#shapes + 1] = Dot.new(i, 1) end
end
local total = 0
for n = 1, 5000 do
  for _, o in ipairs(shapes) do
    o:move(1, -1)
    total = total + o:weight() + o.x - o.y
    if n % 100 == 0 then o:grow(1) end
  end
end
print(total)
