int  main ( ) { }
