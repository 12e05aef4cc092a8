-- Twin of supercall.prg: an overriding method that calls its parent's.
local Parent = {}
Parent.__index = Parent
function Parent.new() return setmetatable({}, Parent) end
function Parent:val(n) return n + 1 end
local Child = setmetatable({}, {__index = Parent})
Child.__index = Child
function Child.new() return setmetatable({}, Child) end
function Child:val(n) return Parent.val(self, n) * 2 end
local o, n = Child.new(), 0
for i = 1, 1000000 do n = n + o:val(i) end
print(n)
