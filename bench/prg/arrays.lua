local a, n = {}, 0
for i = 1, 1000000 do a[#a + 1] = {i, i} end
for i = 1, #a do n = n + a[i][2] end
print(n)
