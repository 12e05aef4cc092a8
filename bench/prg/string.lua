local t = {}
for i = 1, 1048576 do t[#t + 1] = "x" end
local s = table.concat(t)
print(#s)
