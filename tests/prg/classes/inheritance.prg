// Classes with inheritance, constructors, super calls, inline methods and the read-with-argument rule.
MEMVAR nDestroyed
PROCEDURE Main()
   PUBLIC nDestroyed := "no"
   LOCAL o := TDog():New( "Rex" ), p
   ? o:Speak()
   ? o:cName, o:nLegs, o:lGood
   o:nLegs( 3 )
   ? o:nLegs
   ? o:Describe()
   p := TAnimal():New( "Gen" )
   ? p:Speak()
   ? o:ClassName(), o:IsDerivedFrom( "TANIMAL" )
   ? o:Twice( 21 )
   ? "two instances", TBag():New():aItems != TBag():New():aItems
   ? "operators", ( TMoney():New( 5 ) + TMoney():New( 7 ) ):nAmount, TMoney():New( 1 ) < TMoney():New( 2 )
   ? "virtual", ValType( p:Nothing() )
   ? "class data", TCounted():New():Count(), TCounted():New():Count()
   Scope()
   ? "destructed", nDestroyed
RETURN

PROCEDURE Scope()
   LOCAL o := TTemp():New()
   ? "alive", ValType( o )
RETURN

CLASS TAnimal
   DATA cName
   DATA nLegs INIT 4
   DATA lGood AS LOGICAL
   METHOD New( cName ) CONSTRUCTOR
   METHOD Speak()
   METHOD Describe()
   METHOD Twice( n ) INLINE n * 2
   METHOD Nothing() VIRTUAL
ENDCLASS

METHOD New( cName ) CLASS TAnimal
   ::cName := cName
RETURN Self

METHOD Speak() CLASS TAnimal
RETURN "..."

METHOD Describe() CLASS TAnimal
RETURN ::cName + " says " + ::Speak()

CLASS TDog FROM TAnimal
   METHOD Speak()
ENDCLASS

METHOD Speak() CLASS TDog
RETURN "Woof (" + ::TAnimal:Speak() + ")"

CLASS TBag
   DATA aItems INIT {}
   METHOD New() INLINE Self
ENDCLASS

CLASS TMoney
   DATA nAmount
   METHOD New( n ) INLINE ( ::nAmount := n, Self )
   OPERATOR "+" ARG o INLINE TMoney():New( ::nAmount + o:nAmount )
   OPERATOR "<" ARG o INLINE ::nAmount < o:nAmount
ENDCLASS

CLASS TCounted
   CLASSDATA nCount INIT 0
   METHOD New() INLINE ( ::nCount++, Self )
   METHOD Count() INLINE ::nCount
ENDCLASS

CLASS TTemp
   METHOD New() INLINE Self
   DESTRUCTOR Gone
ENDCLASS

METHOD Gone() CLASS TTemp
   nDestroyed := "yes"
RETURN NIL
