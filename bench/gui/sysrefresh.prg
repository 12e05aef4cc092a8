// SYSREFRESH() with nothing to do, one million times (goal: under 0.3 s of processor time).
PROCEDURE Main()
   LOCAL i, nStart, nSecs
   SysRefresh()
   nStart := CpuSeconds()
   FOR i := 1 TO 1000000
      SysRefresh()
   NEXT
   nSecs := CpuSeconds() - nStart
   ? "sysrefresh_idle_1M", LTrim( Str( nSecs, 8, 3 ) ), "s  goal 0.3 s  ratio", LTrim( Str( nSecs / 0.3, 8, 2 ) )
RETURN
