// Window library hydraulics.
