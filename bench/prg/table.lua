-- Records of fixed-width fields written to a file and read back in one pass that trims, cuts,
-- upper-cases, formats and joins their fields. Runs in the current folder.
local f = io.open("benchtab.txt", "wb")
for i = 1, 50000 do
  local name = "customer " .. tostring(i)
  local city = "city" .. string.format("%3d", i % 97)
  f:write(" ", string.format("%-20s%-15s%10.2f", name, city, i * 1.25))
end
f:close()
f = io.open("benchtab.txt", "rb")
local data = f:read("a")
f:close()
local n = 0
for pos = 1, #data, 46 do
  local name = data:sub(pos + 1, pos + 20)
  local city = data:sub(pos + 21, pos + 35)
  local amount = tonumber(data:sub(pos + 36, pos + 45))
  local s = name:match("^%s*(.-)%s*$"):upper() .. "/" .. city:sub(1, 4) ..
            city:match("^(.-)%s*$"):sub(-2) .. string.format("%12.2f", amount)
  if s:find("9", 1, true) then n = n + #s end
end
print(n)
os.remove("benchtab.txt")
