// Creation and references: ProgIDs and class ids, the errors of the constructors, the whole
// 64-bit pointer kept in numbers, references counted through OLEADDREF/OLERELEASEOBJECT,
// numbers that are no live pointer refused, and messages to an object without a server.
PROCEDURE Main()
   LOCAL o, h, e, p, x
   h := CREATEOLEOBJECT( "PvTest.Recorder" )
   ? "pointer", ValType( h ), h > 4294967295, OLEERROR()
   o := TOleAuto():New( h )
   ? "attached", o:Name, o:cClassName == LTrim( Str( h ) ), o:hObj == h
   ? "counts", OLEADDREF( h ), OLERELEASEOBJECT( h ), OLEERROR()
   ? "released own", OLERELEASEOBJECT( h )
   ? "still held by the object", o:Name, TOleAuto():New( h, "Named" ):cClassName
   ? "dead numbers", OLEADDREF( 12345 ), OLEERROR(), OLERELEASEOBJECT( h + 16 ), OLE2TXTERROR()
   ? "clsid", TOleAuto():New( "{00024500-0000-0000-C000-000000000046}" ):Name, CREATEOLEOBJECT( "{00000000-0000-0000-0000-00000000FFFF}" ), OLE2TXTERROR()
   ? "active", ValType( GETOLEOBJECT( "Excel.Application" ) ), OLE2TXTERROR()
   TRY
      TOleAuto():New( "No.Such.Server" )
   CATCH e
      ? "unknown progid", e:GenCode, e:SubCode, e:SubSystem, e:Description, e:Operation, e:Args[ 1 ], e:CanSubstitute, e:CanRetry, e:CanDefault
   END
   TRY
      TOleAuto():New( .T. )
   CATCH e
      ? "bad argument", e:GenCode, e:SubCode, e:SubSystem, e:Description
   END
   TRY
      TOleAuto():New( 12345 )
   CATCH e
      ? "dead pointer", e:GenCode, e:SubCode, e:Description
   END
   TRY
      TOleAuto():GetActiveObject( "PvTest.Recorder" )
   CATCH e
      ? "not running", e:GenCode, e:Description, e:Args[ 1 ]
   END
   o := TOleAuto():GetActiveObject( 1 )
   ? "bad active", o:hObj
   ErrorBlock( {| e | e } )
   x := o:Name
   ? "no server", x:GenCode, x:SubCode, x:SubSystem, x:Description, x:Operation
   o := TOleAuto():New( "No.Such.Server" )
   ? "substituted", o:ClassName(), o:GenCode
   p := CREATEOBJECT( "PvTest.Recorder" )
   ? "createobject", p:Name, p:cClassName
   o := TOleAuto():New( "PvTest.Recorder" )
   x := o:New( 1 )
   ? "new again", x:Operation, x:Description
RETURN
