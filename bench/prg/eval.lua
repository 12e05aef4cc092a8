local b = function(x) return x * 2 + 1 end
local n = 0
for i = 1, 10000000 do n = b(i) end
print(n)
