local h, n = {}, 0
for i = 1, 1000000 do h[i] = i end
for i = 1, 1000000 do n = n + h[i] end
print(n)
