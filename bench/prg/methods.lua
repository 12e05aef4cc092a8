local Counter = {}
Counter.__index = Counter
function Counter.new() return setmetatable({total = 0}, Counter) end
function Counter:add(n) self.total = self.total + n return self end
local o = Counter.new()
for i = 1, 1000000 do o:add(i) end
print(o.total)
