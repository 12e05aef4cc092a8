// MSGMETER whose action sets the meter one million times: the overhead over the bare loop
// (goal: under 0.5 s).
PROCEDURE Main()
   LOCAL nBare, nMeter, nStart, i, nValue
   nStart := CpuSeconds()
   FOR i := 1 TO 1000000
      nValue := i
   NEXT
   nBare := CpuSeconds() - nStart
   nStart := CpuSeconds()
   MsgMeter( {| oMeter | Work( oMeter ) }, "Benchmark", "Meter benchmark" )
   nMeter := CpuSeconds() - nStart
   ? "msgmeter_set_1M_overhead", LTrim( Str( nMeter - nBare, 8, 3 ) ), "s  goal 0.5 s  ratio", ;
     LTrim( Str( ( nMeter - nBare ) / 0.5, 8, 2 ) ), " (bare loop", LTrim( Str( nBare, 8, 3 ) ), "s)"
RETURN

STATIC FUNCTION Work( oMeter )
   LOCAL i
   oMeter:nTotal := 1000000
   FOR i := 1 TO 1000000
      oMeter:Set( i )
   NEXT
RETURN NIL
